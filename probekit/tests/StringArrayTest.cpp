// The string-array exports, the switch and the boundary's error codes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "LastError.h"
#include "ProbeKit/ProbeKit.h"
#include "StringArrayRec.h"

namespace {

bool sFailNextNothrowNew = false;

// An array made from the strings between the '|' of joined, read back the same way.
struct Array {
    VXStringArray handle = VXStringArrayCreate();
    explicit Array(const std::string& joined) {
        for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
            end = joined.find('|', start);
            VXStringArrayAppend(handle, joined.substr(start, end - start).c_str());
        }
    }
    ~Array() { VXStringArrayDispose(handle); }
    std::string joined() const {
        std::string out;
        for (int32_t i = 1; i <= VXStringArrayCount(handle); ++i) {
            out += i > 1 ? "|" : "";
            out += VXStringArrayGet(handle, i);
        }
        return out;
    }
};

TEST(StringArray, GetCountsFromOneAndRejectsEverythingElse) {
    const Array array("vendor||version");
    EXPECT_EQ(array.joined(), "vendor||version");
    for (const int32_t outside : {0, -1, 4, INT32_MIN}) {
        gLastError = 0;
        EXPECT_EQ(VXStringArrayGet(array.handle, outside), nullptr);
        EXPECT_EQ(gLastError, kErrBadIndex);
    }
    EXPECT_STREQ(VXStringArrayGet(array.handle, 3), "version");
    EXPECT_EQ(gLastError, 0) << "cleared on entry";
    EXPECT_EQ(VXGetPreferGenericDriver(), 0) << "the switch starts false";
}

// Rows: the strings, a text, the position Find gives for it, and the strings sorted (no order
// among equals is promised).
TEST(StringArray, FindAndSortFoldOnlyAsciiLettersAndSortBySignedBytesThenLength) {
    for (const auto& [strings, text, position, sorted] :
         std::vector<std::tuple<const char*, const char*, int32_t, const char*>>{
             {"vendor|b|A", "VENDOR", 1, "A|b|vendor"},
             {"vend|abc|vendors|ab|", "vendor", 0, "|ab|abc|vend|vendors"},
             {"x|Other|OTHER", "other", 2, nullptr},
             {"@|[|{|b", "{", 3, "@|[|b|{"},
             {"@|Z|_", "`", 0, "@|_|Z"},
             {"\xC9t|\x01|a|\x80z", "\xE9t", 0, "\x80z|\xC9t|\x01|a"},
             {"AZ", "az", 1, "AZ"}}) {
        const Array array(strings);
        EXPECT_EQ(VXStringArrayFind(array.handle, text), position) << strings;
        VXStringArraySort(array.handle);
        EXPECT_EQ(array.joined(), sorted != nullptr ? sorted : array.joined());
    }
}

TEST(StringArray, KeepsAPrivateCopyAndRefusesNullText) {
    char buffer[] = "original";
    const Array array(buffer);
    std::memcpy(buffer, "changed!", sizeof buffer);
    VXStringArrayAppend(array.handle, nullptr);
    EXPECT_EQ(gLastError, kErrInternal);
    EXPECT_EQ(VXStringArrayFind(array.handle, nullptr), 0);
    EXPECT_EQ(gLastError, kErrInternal);
    EXPECT_EQ(array.joined(), "original");
}

TEST(StringArray, InvalidHandlesReadAsEmptyAndAreNeverWritten) {
    EXPECT_EQ(Array("").handle->tag, 0x53616E65U);
    VXStringArrayRec dead;
    dead.strings.emplace_back("kept");
    dead.tag = 0x53616E64;
    for (VXStringArray handle : {static_cast<VXStringArray>(nullptr), &dead}) {
        EXPECT_EQ(VXStringArrayCount(handle), 0);
        EXPECT_EQ(VXStringArrayGet(handle, 1), nullptr);
        EXPECT_EQ(gLastError, kErrBadIndex);
        EXPECT_EQ(VXStringArrayFind(handle, "kept"), 0);
        VXStringArrayDispose(handle);
    }
    VXStringArrayAppend(&dead, "more");
    VXStringArraySort(&dead);
    EXPECT_EQ(dead.strings.size(), 1U);
}

TEST(StringArray, CreateRecordsExhaustedMemory) {
    gLastError = 0;
    sFailNextNothrowNew = true;
    EXPECT_EQ(VXStringArrayCreate(), nullptr);
    EXPECT_EQ(gLastError, kErrOutOfMemory);
}

TEST(BoundaryErrors, HandleExceptionMapsEachKind) {
    const auto recorded = [](auto&& thrower, int32_t before) {
        gLastError = before;
        try {
            thrower();
        } catch (...) {
            HandleException();
        }
        return gLastError;
    };
    EXPECT_EQ(recorded([] { throw QuesaException(-42); }, 0), -42);
    EXPECT_EQ(recorded([] { throw QuesaException(-42); }, 7), 7);
    EXPECT_EQ(recorded([] { throw std::bad_alloc(); }, 7), -28482);
}

}  // namespace

// Replaced to fail on demand; otherwise the plain operator new, whose blocks the plain operator
// delete releases, also under a sanitizer.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    if (std::exchange(sFailNextNothrowNew, false)) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
