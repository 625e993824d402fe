// Renderer information of the main screen on the toolkit's own X connection:
// GLX_MESA_query_renderer, or, for drivers without it, GL_NVX_gpu_memory_info read in a
// throw-away context. X errors are trapped: they make a renderer unknown, never end the program.
#include <GL/glx.h>
#include <GL/glxext.h>

#include <memory>

#include "ExtensionNames.h"
#include "HostDisplay.h"
#include "RendererRecord.h"
#include "XErrorTrap.h"

using Graphics::ListsExtension;
using Graphics::XErrorTrap;

namespace {

constexpr int64_t kBytesPerMegabyte = 1048576;
constexpr int kMaximumRenderers = 16;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayOwner = std::unique_ptr<Display, DisplayCloser>;

// The connection the window uses. Without a window (the command line), a connection of its own
// to DISPLAY, kept only for one query; null when neither exists.
Display* QueryDisplay(DisplayOwner& own) {
    if (const Graphics::HostDisplay* host = Graphics::SharedHostDisplay()) {
        return host->x11;
    }
    own.reset(XOpenDisplay(nullptr));
    return own.get();
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
    if (const auto bytes = NvidiaDedicatedMemory()) {
        info.renderers.push_back({*bytes, 1, 1});
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

bool QueryGLXRenderers(RendererInfoRec& info) {
    DisplayOwner own;
    Display* display = QueryDisplay(own);
    if (display == nullptr) {
        return false;
    }
    const int screen = DefaultScreen(display);
    const char* extensions = nullptr;
    {
        XErrorTrap trap(display);
        extensions = glXQueryExtensionsString(display, screen);
    }
    if (ListsExtension(extensions, "GLX_MESA_query_renderer")) {
        QueryMesaRenderers(display, screen, info);
    } else {
        QueryNvidiaRenderer(display, screen, info);
    }
    return true;
}
