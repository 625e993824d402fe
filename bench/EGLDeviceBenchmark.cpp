// The probe pair on the EGL device backend against a raw EGL floor doing the same work: two
// desktop OpenGL contexts on multisample pbuffers of the same device, the first asking the feature
// questions with the framebuffer object, the second reading the identity. Run with neither
// DISPLAY nor WAYLAND_DISPLAY set. Warm: in this process, the device's display initialised once
// (the probes' switch is flipped so that every pair probes); cold: a fresh process each.
#define GL_GLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "ProbeKit/ProbeKit.h"

extern char** environ;

namespace {

constexpr EGLint kMaximumDevices = 32;

// The device the backend takes: the first hardware one, else the first.
EGLDisplay OpenDevice() {
    const auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    const auto queryString = reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        eglGetProcAddress("eglQueryDeviceStringEXT"));
    EGLDeviceEXT devices[kMaximumDevices];
    EGLint count = 0;
    queryDevices(kMaximumDevices, devices, &count);
    EGLDeviceEXT chosen = count > 0 ? devices[0] : EGL_NO_DEVICE_EXT;
    for (EGLint i = 0; i < count; ++i) {
        const char* extensions = queryString(devices[i], EGL_EXTENSIONS);
        if (extensions == nullptr ||
            std::strstr(extensions, "EGL_MESA_device_software") == nullptr) {
            chosen = devices[i];
            break;
        }
    }
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_DEVICE_EXT, chosen, nullptr);
    eglInitialize(display, nullptr, nullptr);
    return display;
}

void AskFeatures() {
    benchmark::DoNotOptimize(glGetString(GL_VERSION));
    benchmark::DoNotOptimize(glGetString(GL_EXTENSIONS));
    GLint value = 0;
    glGetIntegerv(GL_STENCIL_BITS, &value);
    GLuint framebuffer = 0;
    GLuint buffers[2] = {};
    glGenFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glGenRenderbuffersEXT(2, buffers);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, buffers[0]);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGB, 1110, 600);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT,
                                 buffers[0]);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, buffers[1]);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, 1110, 600);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 buffers[1]);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 buffers[1]);
    benchmark::DoNotOptimize(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT));
    glGetIntegerv(GL_STENCIL_BITS, &value);
    glDeleteRenderbuffersEXT(2, buffers);
    glDeleteFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    GLboolean stereo = GL_FALSE;
    glGetBooleanv(GL_STEREO, &stereo);
    glEnable(GL_MULTISAMPLE);
    glGetIntegerv(GL_SAMPLE_BUFFERS, &value);
    glGetIntegerv(GL_SAMPLES, &value);
}

void ReadIdentity() {
    for (GLenum name : {GL_VENDOR, GL_RENDERER, GL_VERSION}) {
        std::string copy(reinterpret_cast<const char*>(glGetString(name)));
        benchmark::DoNotOptimize(copy);
    }
}

// One context on a 60 by 60 multisample pbuffer with 8 stencil bits, used, then destroyed.
void FloorContext(EGLDisplay display, void (*work)()) {
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_DEPTH_SIZE,
                                 24,
                                 EGL_STENCIL_SIZE,
                                 8,
                                 EGL_SAMPLE_BUFFERS,
                                 1,
                                 EGL_SAMPLES,
                                 2,
                                 EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    eglChooseConfig(display, attributes, &config, 1, &count);
    const EGLint size[] = {EGL_WIDTH, 60, EGL_HEIGHT, 60, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, size);
    eglBindAPI(EGL_OPENGL_API);
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    eglMakeCurrent(display, surface, surface, context);
    work();
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, context);
    eglDestroySurface(display, surface);
}

void FloorPair(EGLDisplay display) {
    FloorContext(display, AskFeatures);
    FloorContext(display, ReadIdentity);
}

void BM_WarmProbePair(benchmark::State& state) {
    for (auto _ : state) {
        VXSetPreferGenericDriver(VXGetPreferGenericDriver() == 0 ? 1 : 0);
        benchmark::DoNotOptimize(VXGetDriverOpenGLFeatures());
        VXStringArrayDispose(VXGetDriverOpenGLIdentity());
    }
}
BENCHMARK(BM_WarmProbePair)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_WarmFloor(benchmark::State& state) {
    static EGLDisplay sDisplay = OpenDevice();
    for (auto _ : state) {
        FloorPair(sDisplay);
    }
}
BENCHMARK(BM_WarmFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0);

bool Run(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_ColdProbePair(benchmark::State& state) {
    for (auto _ : state) {
        if (!Run({PROBE_ONCE_PATH})) {
            state.SkipWithError("the probe failed");
            break;
        }
    }
}
BENCHMARK(BM_ColdProbePair)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

std::string sSelf;

void BM_ColdFloor(benchmark::State& state) {
    for (auto _ : state) {
        if (!Run({sSelf, "--floor-once"})) {
            state.SkipWithError("the floor failed");
            break;
        }
    }
}
BENCHMARK(BM_ColdFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--floor-once") == 0) {
        FloorPair(OpenDevice());
        return 0;
    }
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) < 0) {
        return 1;
    }
    sSelf = self;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
