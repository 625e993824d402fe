// The renderer information on the real driver of $DISPLAY, with chosen GLX calls answered
// differently: a driver without the Mesa renderer query, one with the NVIDIA memory query, and
// calls that raise X errors.
#include <gtest/gtest.h>
// Xlib's macros must come after gtest.
#include <GL/glx.h>
#include <dlfcn.h>
#include <gtk/gtk.h>

#include <tuple>

#include "GetVRAM.h"
#include "RendererInfo.h"

namespace {

struct Driver {
    const char* name;
    bool hidesMesaQuery;
    bool listsNvidiaMemory;
    bool makeCurrentRaises;
    int32_t count;  // the first one with some memory
    int64_t vram;
};

Driver sDriver{};
constexpr int64_t kNvidiaBytes = int64_t{2} << 30;

const Driver kDrivers[] = {
    // llvmpipe under Xvfb: not accelerated, so no size for the window.
    {"Mesa", false, false, false, 1, 0},
    {"NvidiaMemory", true, true, false, 1, kNvidiaBytes},
    {"NeitherQuery", true, false, false, 0, 0},
    {"MakeCurrentRaises", true, true, true, 0, 0},
};

}  // namespace

// The driver's own function of that name, which the one here replaces.
#define REAL(function) reinterpret_cast<decltype(&(function))>(dlsym(RTLD_NEXT, #function))

extern "C" {

const char* glXQueryExtensionsString(Display* dpy, int screen) {
    return sDriver.hidesMesaQuery ? "GLX_SGIX_pbuffer"
                                  : REAL(glXQueryExtensionsString)(dpy, screen);
}

Bool glXMakeContextCurrent(Display* dpy, GLXDrawable draw, GLXDrawable read, GLXContext ctx) {
    if (sDriver.makeCurrentRaises && ctx != nullptr) {
        XUnmapWindow(dpy, 0x1FFFFFFF);  // refused with BadWindow
    }
    return REAL(glXMakeContextCurrent)(dpy, draw, read, ctx);
}

const GLubyte* glGetString(GLenum name) {
    return name == GL_EXTENSIONS && sDriver.listsNvidiaMemory
               ? reinterpret_cast<const GLubyte*>("GL_ARB_multisample GL_NVX_gpu_memory_info")
               : REAL(glGetString)(name);
}

void glGetIntegerv(GLenum name, GLint* value) {
    REAL(glGetIntegerv)(name, value);
    if (name == 0x9047 && sDriver.listsNvidiaMemory) {
        *value = static_cast<GLint>(kNvidiaBytes / 1024);
    }
}

}  // extern "C"

TEST(RendererInfo, AnswersOrKnowsNothingWithoutEndingTheProgram) {
    if (gtk_init_check(nullptr, nullptr) == FALSE) {
        GTEST_SKIP() << "no display";
    }
    for (const Driver& expected : kDrivers) {
        SCOPED_TRACE(expected.name);
        sDriver = expected;
        CGLRendererInfoObj info = nullptr;
        int32_t count = -1;
        int64_t memory = 0;
        EXPECT_EQ(
            CGLQueryRendererInfo(CGDisplayIDToOpenGLDisplayMask(CGMainDisplayID()), &info, &count),
            kCGLNoError);
        CGLDescribeRenderer(info, 0, kCGLRPVideoMemory, &memory);
        CGLDestroyRendererInfo(info);
        EXPECT_EQ(std::tuple(count, memory > 0, GetVRAM()),
                  std::tuple(expected.count, expected.count > 0, expected.vram));
        EXPECT_EQ(glXGetCurrentContext(), nullptr) << "no context is left current";
    }
    sDriver = {};
}
