// The chooser's requests on the real driver through each backend: which ones a format meets, and
// whether a context on it has at least what was asked. Every backend must answer alike.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DummyWindowGLContext.h"
#include "GLPlatform.h"
#include "RunProgram.h"
#include "WestonSession.h"

using namespace GLPlatform;

namespace {

struct Request {
    const char* name;
    std::vector<GLint> extra;  // after the window base, before AGL_NONE
    GLint depth = 16;
    GLint stencil = 0;
    GLint samples = 0;
};

const Request kRequests[] = {
    {"window", {}},
    {"stencil", {AGL_STENCIL_SIZE, 8}, 16, 8},
    {"2 samples", {AGL_MULTISAMPLE, AGL_SAMPLE_BUFFERS_ARB, 1, AGL_SAMPLES_ARB, 2}, 16, 0, 2},
    {"8 samples", {AGL_MULTISAMPLE, AGL_SAMPLE_BUFFERS_ARB, 1, AGL_SAMPLES_ARB, 8}, 16, 0, 8},
    {"depth 24", {AGL_DEPTH_SIZE, 24}, 24},
    {"stereo", {AGL_STEREO}},
    {"accelerated", {AGL_ACCELERATED}},
};

GLint Query(GLenum name) {
    GLint value = 0;
    GLPlatform::glGetIntegerv(name, &value);
    return value;
}

// "name:none" where no format meets the request; otherwise "name:ok" when a context on the format
// has at least the sizes asked for, and "name:short" when not.
std::string Outcome(const Request& request) {
    std::vector<GLint> words{AGL_DEPTH_SIZE,     16,         AGL_RGBA,
                             AGL_MINIMUM_POLICY, AGL_WINDOW, AGL_DOUBLEBUFFER};
    words.insert(words.end(), request.extra.begin(), request.extra.end());
    words.push_back(AGL_NONE);
    GDHandle device = GetMainDevice();
    AGLPixelFormat format = aglChoosePixelFormat(&device, 1, words.data());
    if (format == nullptr) {
        return std::string(request.name) + ":none ";
    }
    try {
        const StDummyWindowGLContext context = MakeProbingContext(format);
        const bool met = Query(GL_DEPTH_BITS) >= request.depth &&
                         Query(GL_STENCIL_BITS) >= request.stencil &&
                         Query(GL_SAMPLES) >= request.samples;
        return std::string(request.name) + (met ? ":ok " : ":short ");
    } catch (long) {
        return std::string(request.name) + ":no context ";
    }
}

std::string Outcomes() {
    std::string seen;
    for (const Request& request : kRequests) {
        seen += Outcome(request);
    }
    return seen;
}

// llvmpipe offers 4 samples at most and no stereo, and is no hardware renderer.
TEST(BackendFormats, MeetTheSameRequestsOnEveryBackend) {
    const char* weston = WestonSocket();
    if (std::getenv("DISPLAY") == nullptr || weston == nullptr) {
        GTEST_SKIP() << "needs DISPLAY and WESTON_DISPLAY (scripts/with-weston.sh)";
    }
    const std::string expected =
        "window:ok stencil:ok 2 samples:ok 8 samples:none depth 24:ok stereo:none "
        "accelerated:none ";
    EXPECT_EQ(InChild({{"WAYLAND_DISPLAY", nullptr}}, Outcomes), expected) << "GLX";
    EXPECT_EQ(InChild({{"WAYLAND_DISPLAY", weston}}, Outcomes), expected) << "Wayland";
    EXPECT_EQ(InChild({{"WAYLAND_DISPLAY", nullptr}, {"DISPLAY", nullptr}}, Outcomes), expected)
        << "device";
}

}  // namespace
