#include "PixelFormat.h"

#include <initializer_list>
#include <memory>
#include <vector>

using namespace GLPlatform;

namespace {

class AttributeList {
public:
    AttributeList(std::initializer_list<GLint> words) : mWords(words) {}

    void add(std::initializer_list<GLint> words) { mWords.insert(mWords.end(), words); }
    // Inserts words just before the closing AGL_NONE.
    void request(std::initializer_list<GLint> words) {
        mWords.pop_back();
        add(words);
        mWords.push_back(AGL_NONE);
    }
    void withdraw(std::size_t wordCount) {
        mWords.erase(mWords.end() - 1 - static_cast<std::ptrdiff_t>(wordCount), mWords.end() - 1);
    }
    void setDepth(GLint bits) { mWords[1] = bits; }
    const GLint* data() const { return mWords.data(); }

private:
    std::vector<GLint> mWords;
};

struct FormatReleaser {
    void operator()(AGLPixelFormat format) const { aglDestroyPixelFormat(format); }
};
// The current best format, released if the list cannot grow.
using FormatOwner = std::unique_ptr<PixelFormatRec, FormatReleaser>;

class Chooser {
public:
    explicit Chooser(GDHandle device) : mDevice(device) {}

    AGLPixelFormat choose(const AttributeList& list) const {
        return aglChoosePixelFormat(&mDevice, 1, list.data());
    }

    // Keeps the request in the list and its format as the best when the driver meets it.
    bool tryRequest(AttributeList& list, FormatOwner& best, std::initializer_list<GLint> words) {
        list.request(words);
        AGLPixelFormat format = choose(list);
        if (format == nullptr) {
            list.withdraw(words.size());
            return false;
        }
        best.reset(format);
        return true;
    }

private:
    GDHandle mDevice;
};

constexpr GLint kMinimumDepth = 16;
constexpr GLint kUpgradedDepth = 24;

}  // namespace

AGLPixelFormat VXChoosePixelFormat(unsigned int mask) {
    Chooser chooser(GetMainDevice());
    AttributeList list{AGL_DEPTH_SIZE, kMinimumDepth, AGL_RGBA, AGL_MINIMUM_POLICY};
    if ((mask & kPixelFormatWindow) != 0) {
        list.add({AGL_WINDOW, AGL_DOUBLEBUFFER});
    } else {
        list.add({AGL_OFFSCREEN});
    }
    list.add({AGL_NONE});

    FormatOwner best(chooser.choose(list));
    if (best == nullptr) {
        return nullptr;
    }
    if ((mask & kPixelFormatAccelerated) != 0) {
        chooser.tryRequest(list, best, {AGL_ACCELERATED});
    }
    if ((mask & kPixelFormatStencil) != 0) {
        chooser.tryRequest(list, best, {AGL_STENCIL_SIZE, 8});
    }
    if ((mask & kPixelFormatStereo) != 0) {
        chooser.tryRequest(list, best, {AGL_STEREO});
    }
    if ((mask & kPixelFormatMultisample) != 0 &&
        !chooser.tryRequest(list, best,
                            {AGL_MULTISAMPLE, AGL_SAMPLE_BUFFERS_ARB, 1, AGL_SAMPLES_ARB, 2})) {
        chooser.tryRequest(list, best,
                           {AGL_MULTISAMPLE, AGL_SAMPLE_BUFFERS_ARB, 1, AGL_SAMPLES_ARB, 4});
    }

    GLint depth = 0;
    if (aglDescribePixelFormat(best.get(), AGL_DEPTH_SIZE, &depth) != GL_FALSE &&
        depth < kUpgradedDepth) {
        list.setDepth(kUpgradedDepth);
        AGLPixelFormat deeper = chooser.choose(list);
        if (deeper != nullptr) {
            best.reset(deeper);
        }
    }
    return best.release();
}
