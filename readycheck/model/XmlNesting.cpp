#include "XmlNesting.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

namespace {

class NestingScanner {
public:
    explicit NestingScanner(std::string_view text) : mText(text) {}

    // With stopAtRootEnd, the scan ends right after the first element that closes at the top.
    bool withinLimit(bool stopAtRootEnd = false) {
        for (;;) {
            const std::size_t open = mText.find('<', mPosition);
            if (open == std::string_view::npos) {
                return true;
            }
            mPosition = open + 1;
            if (!markup()) {
                return false;
            }
            if (stopAtRootEnd && mRootEnded) {
                return true;
            }
        }
    }

    std::size_t position() const { return mPosition; }
    bool rootEnded() const { return mRootEnded; }

private:
    bool markup() {
        if (skip("!--")) {
            return skipPast("-->");
        }
        if (skip("![CDATA[")) {
            return skipPast("]]>");
        }
        if (skip("?")) {
            return skipInstruction();
        }
        std::string_view name;
        if (skip("!DOCTYPE")) {
            return tag(name, true);
        }
        if (skip("!")) {
            return false;
        }
        if (skip("/")) {
            return tag(name, false) && close(name);
        }
        const std::size_t start = mPosition;
        if (!tag(name, false)) {
            return false;
        }
        if (mText[mPosition - 2] == '/') {
            mRootEnded = mDepth == 0;
            return true;
        }
        return open(name, start);
    }

    bool skip(std::string_view token) {
        if (mText.substr(mPosition, token.size()) != token) {
            return false;
        }
        mPosition += token.size();
        return true;
    }

    bool skipPast(std::string_view end) {
        const std::size_t found = mText.find(end, mPosition);
        mPosition = found + end.size();
        return found != std::string_view::npos;
    }

    // "?>" ends an instruction for XML wherever it stands, but libplist skips quoted text in
    // one: the two must agree.
    bool skipInstruction() {
        bool quoted = false;
        for (; mPosition + 1 < mText.size(); ++mPosition) {
            if (mText[mPosition] == '?' && mText[mPosition + 1] == '>') {
                mPosition += 2;
                return !quoted;
            }
            quoted = quoted != (mText[mPosition] == '"');
        }
        return false;
    }

    // Reads a tag up to its '>'; its name ends at white space. Refuses what would let a parser
    // end the tag elsewhere.
    bool tag(std::string_view& name, bool declaration) {
        const std::size_t start = mPosition;
        std::size_t nameEnd = std::string_view::npos;
        bool quoted = false;
        for (; mPosition < mText.size(); ++mPosition) {
            const char c = mText[mPosition];
            if (nameEnd == std::string_view::npos && std::strchr(" \t\r\n<>", c) != nullptr) {
                nameEnd = mPosition;
            }
            if (c == '<' || c == '\'' || (declaration && c == '[' && !quoted)) {
                return false;
            }
            if (c == '>') {
                ++mPosition;
                name = mText.substr(start, nameEnd - start);
                return !quoted;
            }
            quoted = quoted != (c == '"');
        }
        return false;
    }

    bool open(std::string_view name, std::size_t start) {
        if (mDepth == kMaximumXmlNesting || mPosition == start + 1) {
            return false;  // too deep, or "<>"
        }
        mOpen[mDepth++] = name;
        return true;
    }

    bool close(std::string_view name) {
        if (mDepth == 0 || mOpen[mDepth - 1] != name) {
            return false;
        }
        --mDepth;
        mRootEnded = mDepth == 0;
        return true;
    }

    std::string_view mText;
    std::size_t mPosition = 0;
    std::array<std::string_view, kMaximumXmlNesting> mOpen{};
    std::size_t mDepth = 0;
    bool mRootEnded = false;
};

// Where the token first starts with one of the followers after it.
std::size_t FindStart(std::string_view text, std::string_view token, std::string_view followers) {
    for (std::size_t found = text.find(token); found != std::string_view::npos;
         found = text.find(token, found + 1)) {
        const std::size_t next = found + token.size();
        if (next < text.size() && followers.find(text[next]) != std::string_view::npos) {
            return found;
        }
    }
    return std::string_view::npos;
}

}  // namespace

bool XmlNestingWithinLimit(const uint8_t* bytes, std::size_t size) {
    return NestingScanner({reinterpret_cast<const char*>(bytes), size}).withinLimit();
}

XmlPart XmlDocumentPart(const uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    const std::size_t start =
        std::min(FindStart(text, "<?xml", " \t\r\n"), FindStart(text, "<plist", " \t\r\n>/"));
    if (start == std::string_view::npos) {
        return {bytes + size, 0};
    }
    NestingScanner scanner(text.substr(start));
    scanner.withinLimit(true);
    return {bytes + start, scanner.rootEnded() ? scanner.position() : size - start};
}
