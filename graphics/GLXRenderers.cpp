#include "GLXRenderers.h"

#include <GL/glx.h>
#include <GL/glxext.h>

#include <optional>
#include <string>

#include "ExtensionNames.h"
#include "NvidiaMemory.h"
#include "SoftwareRenderer.h"
#include "XErrorTrap.h"

namespace Graphics {

namespace {

constexpr int64_t kBytesPerMegabyte = 1048576;
constexpr int kMaximumRenderers = 16;

bool HasMesaQuery(Display* display, int screen, const bool* lost) {
    const char* extensions = nullptr;
    {
        XErrorTrap trap(display, lost);
        extensions = glXQueryExtensionsString(display, screen);
    }
    return ListsExtension(extensions, "GLX_MESA_query_renderer");
}

// NOTE: GLX_MESA_query_renderer answers without a current context.
std::optional<unsigned int> MesaQuery(Display* display, int screen, int renderer, int attribute) {
    const auto query = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    unsigned int value = 0;
    if (query == nullptr || query(display, screen, renderer, attribute, &value) == False) {
        return std::nullopt;
    }
    return value;
}

std::vector<GLRenderer> MesaRenderers(Display* display, int screen) {
    std::vector<GLRenderer> renderers;
    XErrorTrap trap(display);
    for (int index = 0; index < kMaximumRenderers; ++index) {
        const auto megabytes = MesaQuery(display, screen, index, GLX_RENDERER_VIDEO_MEMORY_MESA);
        if (!megabytes) {
            break;
        }
        const auto accelerated = MesaQuery(display, screen, index, GLX_RENDERER_ACCELERATED_MESA);
        if (!accelerated || trap.failed()) {
            break;
        }
        renderers.push_back(
            {static_cast<int64_t>(*megabytes) * kBytesPerMegabyte, *accelerated != 0});
    }
    return renderers;
}

GLXFBConfig PbufferConfig(Display* display, int screen) {
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                              None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, screen, attributes, &count);
    const GLXFBConfig config = configs != nullptr && count > 0 ? configs[0] : nullptr;
    if (configs != nullptr) {
        XFree(configs);
    }
    return config;
}

// The thread's current GLX context, made current again when this goes; none stays none.
class CurrentGLXContext {
public:
    explicit CurrentGLXContext(Display* ours) : mOurs(ours) {}
    ~CurrentGLXContext() {
        if (mContext != nullptr) {
            glXMakeContextCurrent(mDisplay, mDraw, mRead, mContext);
        } else {
            glXMakeContextCurrent(mOurs, None, None, nullptr);
        }
    }
    CurrentGLXContext(const CurrentGLXContext&) = delete;
    CurrentGLXContext& operator=(const CurrentGLXContext&) = delete;

private:
    Display* mOurs;
    Display* mDisplay = glXGetCurrentDisplay();
    GLXContext mContext = glXGetCurrentContext();
    GLXDrawable mDraw = glXGetCurrentDrawable();
    GLXDrawable mRead = glXGetCurrentReadDrawable();
};

// Calls read with a throw-away context current on a 1 by 1 pbuffer, if every step succeeds: the
// call's own answer and the errors the server sent for it are both checked.
template <typename Read>
void InThrowAwayContext(Display* display, int screen, const bool* lost, Read read) {
    XErrorTrap trap(display, lost);
    const GLXFBConfig config = PbufferConfig(display, screen);
    if (config == nullptr || trap.failed()) {
        return;
    }
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    const GLXPbuffer pbuffer = glXCreatePbuffer(display, config, size);
    GLXContext context = nullptr;
    if (pbuffer != None && !trap.failed()) {
        context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    }
    if (context != nullptr && !trap.failed()) {
        const CurrentGLXContext previous(display);
        // NOTE: the call can answer True although the server rejected it; the trap tells.
        if (glXMakeContextCurrent(display, pbuffer, pbuffer, context) != False && !trap.failed()) {
            read();
        }
    }
    if (context != nullptr) {
        glXDestroyContext(display, context);
    }
    if (pbuffer != None) {
        glXDestroyPbuffer(display, pbuffer);
    }
}

}  // namespace

std::vector<GLRenderer> GLXRenderers(Display* display, int screen) {
    if (HasMesaQuery(display, screen, nullptr)) {
        return MesaRenderers(display, screen);
    }
    std::vector<GLRenderer> renderers;
    InThrowAwayContext(display, screen, nullptr, [&renderers] {
        if (const auto bytes = NvidiaDedicatedMemory()) {
            renderers.push_back({*bytes, true});
        }
    });
    return renderers;
}

bool GLXRendersInHardware(Display* display, int screen, const bool* lost) {
    if (HasMesaQuery(display, screen, lost)) {
        const XErrorTrap trap(display, lost);
        return MesaQuery(display, screen, 0, GLX_RENDERER_ACCELERATED_MESA).value_or(0) != 0;
    }
    std::string renderer;
    InThrowAwayContext(display, screen, lost, [&renderer] {
        const GLubyte* name = glGetString(GL_RENDERER);
        renderer = name != nullptr ? reinterpret_cast<const char*>(name) : "";
    });
    return !IsKnownSoftwareRenderer(renderer.c_str());
}

}  // namespace Graphics
