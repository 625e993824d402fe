// The renderer information on the real driver of $DISPLAY, with chosen GLX calls answered
// differently: a driver without the Mesa renderer query, one with the NVIDIA memory query, and
// calls that raise X errors. On EGL, the same on the device and on $WESTON_DISPLAY, with the
// device made to look like a GPU; and the kernel's memory figures on recorded machines.
#include <gtest/gtest.h>
// Xlib's macros must come after gtest.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glx.h>
#include <dlfcn.h>
#include <gtk/gtk.h>

#include <map>
#include <tuple>

#include "DrmDevice.h"
#include "GetVRAM.h"
#include "RecordedMachine.h"
#include "RendererInfo.h"
#include "RendererRecord.h"
#include "WestonSession.h"

namespace {

struct Driver {
    const char* name;
    bool hidesMesaQuery;
    bool listsNvidiaMemory;
    bool makeCurrentRaises;
    bool hardwareDevice;  // EGL's device is not Mesa's software one, on a node no one owns
    int32_t count;        // the first one with some memory
    int64_t vram;
};

Driver sDriver{};
constexpr int64_t kNvidiaBytes = int64_t{2} << 30;

const Driver kDrivers[] = {
    // llvmpipe under Xvfb: not accelerated, so no size for the window.
    {"Mesa", false, false, false, false, 1, 0},
    {"NvidiaMemory", true, true, false, false, 1, kNvidiaBytes},
    {"NeitherQuery", true, false, false, false, 0, 0},
    {"MakeCurrentRaises", true, true, true, false, 0, 0},
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

// Only in a context: the real query answers nothing without one.
void glGetIntegerv(GLenum name, GLint* value) {
    REAL(glGetIntegerv)(name, value);
    const bool current = glXGetCurrentContext() != nullptr || eglGetCurrentContext() != nullptr;
    if (name == 0x9047 && sDriver.listsNvidiaMemory && current) {
        *value = static_cast<GLint>(kNvidiaBytes / 1024);
    }
}

const char* DeviceString(EGLDeviceEXT /*device*/, EGLint name) {
    return name == EGL_EXTENSIONS            ? "EGL_EXT_device_drm"
           : name == EGL_DRM_DEVICE_FILE_EXT ? "/dev/dri/card9"
                                             : nullptr;
}

const char* DriverName(EGLDisplay /*display*/) {
    return "nvidia";
}

__eglMustCastToProperFunctionPointerType eglGetProcAddress(const char* name) {
    const std::string asked = name;
    if (sDriver.hardwareDevice && asked == "eglQueryDeviceStringEXT") {
        return reinterpret_cast<__eglMustCastToProperFunctionPointerType>(DeviceString);
    }
    if (sDriver.hardwareDevice && asked == "eglGetDisplayDriverName") {
        return reinterpret_cast<__eglMustCastToProperFunctionPointerType>(DriverName);
    }
    return REAL(eglGetProcAddress)(name);
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

// Mesa's software device and Weston's software renderer are not accelerated; a GPU whose kernel
// driver tells no size is asked through GL_NVX_gpu_memory_info in a context of its own, which
// leaves nothing current and gives the thread back its API.
TEST(RendererInfo, OnEGLTheDeviceBehindTheDisplayAnswers) {
    const char* weston = WestonSocket();
    const struct {
        Driver driver;
        bool wayland;
        int64_t accelerated;
    } rows[] = {
        {{"Device", false, false, false, false, 1, 0}, false, 0},
        {{"Wayland", false, false, false, false, 1, 0}, true, 0},
        {{"GpuWithNvidiaMemory", false, true, false, true, 1, kNvidiaBytes}, false, 1},
        {{"GpuWithoutMemoryQuery", false, false, false, true, 1, 0}, false, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.driver.name);
        if (row.wayland && weston == nullptr) {
            continue;  // needs scripts/with-weston.sh
        }
        sDriver = row.driver;
        setenv("WAYLAND_DISPLAY", row.wayland ? weston : "", 1);
        RendererInfoRec info;
        ASSERT_TRUE(QueryEGLRenderers(row.wayland, info));
        ASSERT_EQ(info.renderers.size(), 1U);
        const auto& renderer = info.renderers[0];
        EXPECT_EQ(std::tuple(renderer.accelerated, renderer.videoMemory, renderer.window),
                  std::tuple(row.accelerated, row.driver.vram, int64_t{1}));
        EXPECT_EQ(eglQueryAPI(), static_cast<EGLenum>(EGL_OPENGL_ES_API));
        eglBindAPI(EGL_OPENGL_API);
        EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT) << "no context is left current";
        eglBindAPI(EGL_OPENGL_ES_API);
    }
    unsetenv("WAYLAND_DISPLAY");
    sDriver = {};
}

// The recorded machine's driver answers, as the profiler's tests read them.
std::string sMachine;

void AskRecorded(const DisplayDevice& device, MemorySignals& signals) {
    AddRecordedDriverAnswers(sMachine, device.address, signals);
}

TEST(RendererInfo, KernelFiguresOfTheControllerBehindTheNode) {
    constexpr int64_t kSystem = int64_t{32} << 30;
    for (const auto& [machine, node, bytes] : {
             std::tuple{"amd-discrete-1g", "/dev/dri/renderD128", std::optional(int64_t{1} << 30)},
             std::tuple{"intel-arc-i915", "/dev/dri/card0", std::optional(int64_t{16} << 30)},
             std::tuple{"intel-igpu", "/dev/dri/renderD128", std::optional(kSystem)},
             std::tuple{"amd-apu-amdgpu", "/dev/dri/renderD128", std::optional(kSystem)},
             std::tuple{"nvidia-proprietary", "/dev/dri/renderD128", std::optional<int64_t>()},
             std::tuple{"qemu-stdvga", "/dev/dri/renderD128", std::optional<int64_t>()},
         }) {
        sMachine = std::string(RECORDED_MACHINES) + "/" + machine;
        EXPECT_EQ(KernelVideoMemory(sMachine + "/sys", node, AskRecorded, kSystem), bytes)
            << machine;
    }
}
