// Renderer information of the main screen on the toolkit's own X connection:
// GLX_MESA_query_renderer, or, for drivers without it, GL_NVX_gpu_memory_info read in a
// throw-away context. X errors are trapped: they make a renderer unknown, never end the program.
#include <GL/glx.h>
#include <GL/glxext.h>
#include <gdk/gdkx.h>

#include <cstring>
#include <memory>
#include <vector>

#include "RendererInfo.h"

struct RendererInfoRec {
    struct Renderer {
        int64_t videoMemory;
        int64_t accelerated;
        int64_t window;
    };
    std::vector<Renderer> renderers;
};

namespace {

constexpr int64_t kBytesPerMegabyte = 1048576;
constexpr int64_t kBytesPerKilobyte = 1024;
constexpr GLenum kDedicatedVideoMemoryNVX = 0x9047;  // in KB
constexpr int kMaximumRenderers = 16;

unsigned long sErrorCount = 0;

int CountError(Display* /*display*/, XErrorEvent* /*event*/) {
    ++sErrorCount;
    return 0;
}

// Counts X errors instead of letting Xlib's default handler end the process; the previous handler
// comes back only after the requests made under the trap have been answered.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display)
        : mDisplay(display), mPrevious(XSetErrorHandler(CountError)), mBefore(sErrorCount) {}
    ~XErrorTrap() {
        XSync(mDisplay, False);
        XSetErrorHandler(mPrevious);
    }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    bool failed() {
        XSync(mDisplay, False);
        return sErrorCount != mBefore;
    }

private:
    Display* mDisplay;
    XErrorHandler mPrevious;
    unsigned long mBefore;
};

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayOwner = std::unique_ptr<Display, DisplayCloser>;

// The connection the window uses. Without a window (the command line), a connection of its own
// to DISPLAY, kept only for one query; null when neither exists.
Display* QueryDisplay(DisplayOwner& own) {
    GdkDisplay* display = gdk_display_get_default();
    if (display != nullptr) {
        return GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display) : nullptr;
    }
    own.reset(XOpenDisplay(nullptr));
    return own.get();
}

bool ListsExtension(const char* list, const char* name) {
    if (list == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* found = std::strstr(list, name); found != nullptr;
         found = std::strstr(found + 1, name)) {
        const bool starts = found == list || found[-1] == ' ';
        const bool ends = found[length] == ' ' || found[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

void QueryMesaRenderers(Display* display, int screen, RendererInfoRec& info) {
    auto* query = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    XErrorTrap trap(display);
    for (int index = 0; query != nullptr && index < kMaximumRenderers; ++index) {
        unsigned int megabytes = 0;
        unsigned int accelerated = 0;
        if (query(display, screen, index, GLX_RENDERER_VIDEO_MEMORY_MESA, &megabytes) == False ||
            query(display, screen, index, GLX_RENDERER_ACCELERATED_MESA, &accelerated) == False ||
            trap.failed()) {
            break;
        }
        // Every renderer of a GLX screen draws to that screen's windows.
        info.renderers.push_back(
            {static_cast<int64_t>(megabytes) * kBytesPerMegabyte, accelerated, 1});
    }
}

void ReadNvidiaMemory(RendererInfoRec& info) {
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (ListsExtension(extensions, "GL_NVX_gpu_memory_info")) {
        GLint kilobytes = 0;
        glGetIntegerv(kDedicatedVideoMemoryNVX, &kilobytes);
        info.renderers.push_back({static_cast<int64_t>(kilobytes) * kBytesPerKilobyte, 1, 1});
    }
}

// A 1x1 pbuffer and a context on it, current only while the memory is read. Each step is
// checked: the call's own answer and the errors the server sent for it.
void QueryNvidiaRenderer(Display* display, int screen, RendererInfoRec& info) {
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, None};
    int count = 0;
    XErrorTrap trap(display);
    GLXFBConfig* configs = glXChooseFBConfig(display, screen, attributes, &count);
    if (configs == nullptr || count == 0 || trap.failed()) {
        if (configs != nullptr) {
            XFree(configs);
        }
        return;
    }
    const GLXFBConfig config = configs[0];
    XFree(configs);
    const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    const GLXPbuffer pbuffer = glXCreatePbuffer(display, config, pbufferAttributes);
    if (pbuffer == None || trap.failed()) {
        return;
    }
    GLXContext context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    if (context != nullptr && !trap.failed()) {
        // NOTE: the call can answer True although the server rejected it; the trap tells.
        if (glXMakeContextCurrent(display, pbuffer, pbuffer, context) != False && !trap.failed()) {
            ReadNvidiaMemory(info);
        }
        if (glXGetCurrentContext() == context) {
            glXMakeContextCurrent(display, None, None, nullptr);
        }
    }
    if (context != nullptr) {
        glXDestroyContext(display, context);
    }
    glXDestroyPbuffer(display, pbuffer);
}

}  // namespace

CGDirectDisplayID CGMainDisplayID() {
    return 1;
}

CGOpenGLDisplayMask CGDisplayIDToOpenGLDisplayMask(CGDirectDisplayID display) {
    return display == CGMainDisplayID() ? 1U : 0U;
}

CGLError CGLQueryRendererInfo(CGOpenGLDisplayMask mask, CGLRendererInfoObj* info, int32_t* count) {
    DisplayOwner own;
    Display* display = QueryDisplay(own);
    if (mask != 1U || info == nullptr || count == nullptr || display == nullptr) {
        return kCGLBadDisplay;
    }
    auto* result = new RendererInfoRec;
    const int screen = DefaultScreen(display);
    const char* extensions = nullptr;
    {
        XErrorTrap trap(display);
        extensions = glXQueryExtensionsString(display, screen);
    }
    if (ListsExtension(extensions, "GLX_MESA_query_renderer")) {
        QueryMesaRenderers(display, screen, *result);
    } else {
        QueryNvidiaRenderer(display, screen, *result);
    }
    *info = result;
    *count = static_cast<int32_t>(result->renderers.size());
    return kCGLNoError;
}

CGLError CGLDescribeRenderer(CGLRendererInfoObj info, int32_t renderer, int32_t property,
                             int64_t* value) {
    if (info == nullptr || value == nullptr || renderer < 0 ||
        static_cast<std::size_t>(renderer) >= info->renderers.size()) {
        return kCGLBadRendererInfo;
    }
    const auto& entry = info->renderers[static_cast<std::size_t>(renderer)];
    switch (property) {
        case kCGLRPVideoMemory:
            *value = entry.videoMemory;
            return kCGLNoError;
        case kCGLRPAccelerated:
            *value = entry.accelerated;
            return kCGLNoError;
        case kCGLRPWindow:
            *value = entry.window;
            return kCGLNoError;
        default:
            return kCGLBadProperty;
    }
}

CGLError CGLDestroyRendererInfo(CGLRendererInfoObj info) {
    delete info;
    return kCGLNoError;
}
