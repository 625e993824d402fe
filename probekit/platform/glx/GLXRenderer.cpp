// Whether the connection's renderer is a hardware one, decided once per connection.
#include <string>

#include "ExtensionList.h"
#include "GLXRecords.h"
#include "SoftwareRenderer.h"

namespace GLPlatform::GLX {

namespace {

// NOTE: GLX_MESA_query_renderer answers without a current context.
bool QueryRendererAccelerated(const X11Connection& connection) {
    auto* query = reinterpret_cast<PFNGLXQUERYRENDERERINTEGERMESAPROC>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    unsigned int accelerated = 0;
    return query != nullptr &&
           query(connection.display, connection.screen, 0, GLX_RENDERER_ACCELERATED_MESA,
                 &accelerated) != False &&
           accelerated != 0;
}

GLXFBConfig PbufferConfig(const X11Connection& connection) {
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                              None};
    int count = 0;
    GLXFBConfig* configs =
        glXChooseFBConfig(connection.display, connection.screen, attributes, &count);
    const GLXFBConfig config = configs != nullptr && count > 0 ? configs[0] : nullptr;
    if (configs != nullptr) {
        XFree(configs);
    }
    return config;
}

// GL_RENDERER of a throw-away context on a 1 by 1 pbuffer; empty when there is none. Whatever
// was current before is current again afterwards.
std::string ReadRenderer(X11Connection& connection) {
    Display* display = connection.display;
    X11ErrorTrap trap(connection);
    const GLXFBConfig config = PbufferConfig(connection);
    if (config == nullptr) {
        return {};
    }
    const int size[] = {GLX_PBUFFER_WIDTH, 1, GLX_PBUFFER_HEIGHT, 1, None};
    const GLXPbuffer pbuffer = glXCreatePbuffer(display, config, size);
    const GLXContext context = glXCreateNewContext(display, config, GLX_RGBA_TYPE, nullptr, True);
    Display* previousDisplay = glXGetCurrentDisplay();
    const GLXContext previous = glXGetCurrentContext();
    const GLXDrawable previousDraw = glXGetCurrentDrawable();
    const GLXDrawable previousRead = glXGetCurrentReadDrawable();
    std::string renderer;
    if (context != nullptr && !trap.failed() &&
        glXMakeContextCurrent(display, pbuffer, pbuffer, context) != False && !trap.failed()) {
        const GLubyte* text = ::glGetString(GL_RENDERER);
        renderer = text != nullptr ? reinterpret_cast<const char*>(text) : "";
    }
    if (previous != nullptr) {
        glXMakeContextCurrent(previousDisplay, previousDraw, previousRead, previous);
    } else {
        glXMakeContextCurrent(display, None, None, nullptr);
    }
    if (context != nullptr) {
        glXDestroyContext(display, context);
    }
    if (pbuffer != 0) {
        glXDestroyPbuffer(display, pbuffer);
    }
    return renderer;
}

}  // namespace

bool HasHardwareRenderer(X11Connection& connection) {
    if (connection.hardware < 0) {
        const ExtensionList extensions(
            glXQueryExtensionsString(connection.display, connection.screen));
        const bool hardware =
            extensions.has("GLX_MESA_query_renderer")
                ? QueryRendererAccelerated(connection)
                : !Graphics::IsKnownSoftwareRenderer(ReadRenderer(connection).c_str());
        if (connection.lost) {
            return false;
        }
        connection.hardware = hardware ? 1 : 0;
    }
    return connection.hardware == 1;
}

}  // namespace GLPlatform::GLX
