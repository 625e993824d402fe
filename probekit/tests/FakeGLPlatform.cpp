#include "FakeGLPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <regex>
#include <sstream>
#include <string_view>

#include "FileText.h"

using namespace GLPlatform;

struct GLPlatform::DeviceRec {};
struct GLPlatform::PixelFormatRec {
    int number;
};
struct GLPlatform::ContextRec {};
struct GLPlatform::WindowRec {};
struct GLPlatform::GrafPort {};

namespace FakeDriver {
namespace {

struct State {
    Script script;
    std::vector<std::string> calls{};
    int formats = 0;
    GLuint names = 0;
    int live = 0;
    AGLContext current = nullptr;
};
State sState;
DeviceRec sMainDevice;

template <typename T>
std::string Text(T value) {
    std::ostringstream text;
    text << std::hex << std::uppercase << value;
    return text.str();
}
// GL objects: one being generated gets the next name; one being deleted is no longer alive.
std::string Text(const GLuint* names) {
    --sState.live;
    return Text(*names);
}
std::string Text(GLuint* names) {
    ++sState.live;
    *names = ++sState.names;
    return Text(*names);
}

// Records the call with its arguments (numbers in hexadecimal), counts what it makes (+1) or ends
// (-1), and tells whether the script makes it fail; throws where the script says so.
template <typename... Args>
bool Fails(const char* name, int made, Args... args) {
    std::string call = name;
    ((call += ' ', call += Text(args)), ...);
    sState.calls.push_back(call);
    if (sState.script.throwing == call) {
        throw std::bad_alloc();
    }
    const bool fails = !sState.script.failing.empty() &&
                       std::regex_search(call, std::regex(sState.script.failing));
    sState.live += fails ? 0 : made;
    return fails;
}

template <typename... Args>
bool GL(const char* name, Args... args) {
    EXPECT_NE(sState.current, nullptr) << name << " with no context current";
    return Fails(name, 0, args...);
}

constexpr const char* kEntryNames[] = {
    "glGenFramebuffersEXT",        "glBindFramebufferEXT",     "glGenRenderbuffersEXT",
    "glBindRenderbufferEXT",       "glRenderbufferStorageEXT", "glFramebufferRenderbufferEXT",
    "glCheckFramebufferStatusEXT", "glDeleteRenderbuffersEXT", "glDeleteFramebuffersEXT"};

template <int I, typename R, typename... Args>
R Entry(Args... args) {
    // Only glCheckFramebufferStatusEXT returns anything: incomplete when it fails.
    return static_cast<R>(GL(kEntryNames[I], args...) ? 0x8CDD : 0x8CD5);
}

void* const kEntryPoints[] = {
    reinterpret_cast<void*>(Entry<0, void, GLsizei, GLuint*>),
    reinterpret_cast<void*>(Entry<1, void, GLenum, GLuint>),
    reinterpret_cast<void*>(Entry<2, void, GLsizei, GLuint*>),
    reinterpret_cast<void*>(Entry<3, void, GLenum, GLuint>),
    reinterpret_cast<void*>(Entry<4, void, GLenum, GLenum, GLsizei, GLsizei>),
    reinterpret_cast<void*>(Entry<5, void, GLenum, GLenum, GLenum, GLuint>),
    reinterpret_cast<void*>(Entry<6, GLenum, GLenum>),
    reinterpret_cast<void*>(Entry<7, void, GLsizei, const GLuint*>),
    reinterpret_cast<void*>(Entry<8, void, GLsizei, const GLuint*>)};

// Stencil bits of what is bound: none for a framebuffer object without a stencil attachment.
GLint StencilBits() {
    const std::string binds = Log("glBindFramebufferEXT");
    const bool bound = !binds.empty() && !binds.ends_with(" 0\n");
    const bool attached = !Log("glFramebufferRenderbufferEXT 8D40 8D20").empty();
    return bound && !attached ? 0 : sState.script.stencilBits;
}

}  // namespace

void Reset(Script script) {
    sState = State{std::move(script)};
}

std::string Log(const std::string& prefix) {
    std::string log;
    for (const std::string& call : sState.calls) {
        if (call.rfind(prefix, 0) == 0) {
            log.append(call).append("\n");
        }
    }
    return log;
}

int Live() {
    return sState.live + (sState.current != nullptr ? 1 : 0);
}

std::string Expected(const std::string& name) {
    // A section ends at a blank line; the last one at the end of the file.
    const std::string text = FileText(PROBEKIT_GOLDEN) + '\n';
    const std::size_t start = text.find("[" + name + "]\n") + name.size() + 3;
    return text.substr(start, text.find("\n\n", start) + 1 - start);
}

}  // namespace FakeDriver

using namespace FakeDriver;

GDHandle GLPlatform::GetMainDevice() {
    Fails("GetMainDevice", 0);
    return &sMainDevice;
}

AGLPixelFormat GLPlatform::aglChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                                const GLint* attributes) {
    EXPECT_TRUE(deviceCount == 1 && devices[0] == &sMainDevice);
    std::string list;
    for (; *attributes != AGL_NONE; ++attributes) {
        list.append(list.empty() ? "" : ",").append(std::to_string(*attributes));
    }
    return Fails("choose", 1, list) ? nullptr : new PixelFormatRec{++sState.formats};
}

GLboolean GLPlatform::aglDescribePixelFormat(AGLPixelFormat format, GLint attribute, GLint* value) {
    *value = sState.script.depth;
    return Fails("describe", 0, format->number, attribute) ? GL_FALSE : GL_TRUE;
}

void GLPlatform::aglDestroyPixelFormat(AGLPixelFormat format) {
    Fails("destroyFormat", -1, format->number);
    delete format;
}

AGLContext GLPlatform::aglCreateContext(AGLPixelFormat format, AGLContext /*share*/) {
    return Fails("aglCreateContext", 1, format->number) ? nullptr : new ContextRec;
}

GLenum GLPlatform::aglGetError() {
    Fails("aglGetError", 0);
    return 10004;
}

GLboolean GLPlatform::aglSetDrawable(AGLContext /*context*/, CGrafPtr port) {
    return Fails(port != nullptr ? "aglSetDrawable window" : "aglSetDrawable null", 0) ? GL_FALSE
                                                                                       : GL_TRUE;
}

GLboolean GLPlatform::aglSetCurrentContext(AGLContext context) {
    const bool fails =
        Fails(context != nullptr ? "aglSetCurrentContext" : "aglSetCurrentContext null", 0);
    sState.current = fails ? nullptr : context;
    return fails ? GL_FALSE : GL_TRUE;
}

GLboolean GLPlatform::aglDestroyContext(AGLContext context) {
    Fails("aglDestroyContext", -1);
    delete context;
    return GL_TRUE;
}

OSStatus GLPlatform::CreateNewWindow(WindowClass windowClass, WindowAttributes attributes,
                                     const Rect* bounds, WindowRef* window) {
    const bool fails = Fails("CreateNewWindow", 1, windowClass, attributes, bounds->top,
                             bounds->left, bounds->bottom, bounds->right);
    *window = fails ? nullptr : new WindowRec;
    return fails ? -108 : 0;
}

CGrafPtr GLPlatform::GetWindowPort(WindowRef window) {
    return reinterpret_cast<CGrafPtr>(window);
}

void GLPlatform::DisposeWindow(WindowRef window) {
    Fails("DisposeWindow", -1);
    delete window;
}

const GLubyte* GLPlatform::glGetString(GLenum name) {
    GL("glGetString", name);
    const Script& s = sState.script;
    return reinterpret_cast<const GLubyte*>(name == GL_VENDOR     ? s.vendor
                                            : name == GL_RENDERER ? s.renderer
                                            : name == GL_VERSION  ? s.version
                                                                  : s.extensions);
}

void GLPlatform::glGetIntegerv(GLenum name, GLint* value) {
    GL("glGetIntegerv", name);
    *value = name == GL_STENCIL_BITS ? StencilBits()
             : name == GL_SAMPLES    ? sState.script.samples
                                     : sState.script.sampleBuffers;
}

void GLPlatform::glGetBooleanv(GLenum name, GLboolean* value) {
    GL("glGetBooleanv", name);
    *value = sState.script.stereo;
}

void GLPlatform::glEnable(GLenum capability) {
    GL("glEnable", capability);
}

void* GLPlatform::dlsym(const char* name) {
    const auto* found =
        std::find(std::begin(kEntryNames), std::end(kEntryNames), std::string_view(name));
    return Fails("dlsym", 0, name) || found == std::end(kEntryNames)
               ? nullptr
               : kEntryPoints[found - std::begin(kEntryNames)];
}
