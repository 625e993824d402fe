#include "FakeGLPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>

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
    std::vector<std::string> calls;
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
std::string Text(const GLuint* names) {
    return Text(*names);
}
std::string Text(GLuint* names) {  // the object being generated gets the next name
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
    const bool fails = !sState.script.failing.empty() && call.rfind(sState.script.failing, 0) == 0;
    sState.live += fails ? 0 : made;
    return fails;
}

template <typename... Args>
void GL(const char* name, Args... args) {
    EXPECT_NE(sState.current, nullptr) << name << " with no context current";
    Fails(name, 0, args...);
}

constexpr const char* kEntryNames[] = {
    "glGenFramebuffersEXT",        "glBindFramebufferEXT",     "glGenRenderbuffersEXT",
    "glBindRenderbufferEXT",       "glRenderbufferStorageEXT", "glFramebufferRenderbufferEXT",
    "glCheckFramebufferStatusEXT", "glDeleteRenderbuffersEXT", "glDeleteFramebuffersEXT"};

template <int I, typename R, typename... Args>
R Entry(Args... args) {
    GL(kEntryNames[I], args...);
    return static_cast<R>(sState.script.framebufferStatus);
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
    const bool bound = !binds.empty() && binds.substr(binds.size() - 2) != " 0";
    const bool attached = !Log("glFramebufferRenderbufferEXT 8D40 8D20").empty();
    return bound && !attached ? 0 : sState.script.stencilBits;
}

}  // namespace

void Reset(Script script) {
    sState = State();
    sState.script = std::move(script);
}

std::string Log(const std::string& prefix) {
    std::string log;
    for (const std::string& call : sState.calls) {
        if (call.rfind(prefix, 0) == 0) {
            log += (log.empty() ? "" : "; ") + call;
        }
    }
    return log;
}

int Live() {
    return sState.live + (sState.current != nullptr ? 1 : 0);
}

int FormatNumber(AGLPixelFormat format) {
    return format != nullptr ? format->number : 0;
}

Script Capable(const std::function<void(Script&)>& change) {
    Script script;
    script.strings = {{GL_VENDOR, "Fake Vendor"},
                      {GL_RENDERER, "Fake Renderer 9000"},
                      {GL_VERSION, "2.1 FAKE-1.0.2"},
                      {GL_EXTENSIONS,
                       "GL_ARB_multisample GL_EXT_framebuffer_object GL_EXT_packed_depth_stencil "
                       "GL_EXT_stencil_two_side GL_ARB_shading_language_100 "
                       "GL_ARB_shader_objects GL_ARB_vertex_shader GL_ARB_fragment_shader"}};
    change(script);
    return script;
}

std::string Expected(const std::string& name) {
    std::ifstream file(PROBEKIT_GOLDEN);
    std::string log;
    std::string line;
    while (std::getline(file, line) && line != "[" + name + "]") {
    }
    while (std::getline(file, line) && !line.empty()) {
        log += (log.empty() ? "" : "; ") + line;
    }
    return log;
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
    const Words words(attributes, std::find(attributes, attributes + 64, AGL_NONE));
    std::string list;
    for (const GLint word : words) {
        list += (list.empty() ? "" : ",") + std::to_string(word);
    }
    const bool met = sState.script.canMeet(words);
    return Fails("choose", met ? 1 : 0, list) || !met ? nullptr
                                                      : new PixelFormatRec{++sState.formats};
}

GLboolean GLPlatform::aglDescribePixelFormat(AGLPixelFormat format, GLint attribute, GLint* value) {
    Fails("describe", 0, format->number, attribute);
    *value = sState.script.depth;
    return sState.script.depth >= 0 ? GL_TRUE : GL_FALSE;
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
    EXPECT_NE(sState.current, context) << "destroyed while current";
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
    const auto found = sState.script.strings.find(name);
    return found == sState.script.strings.end()
               ? nullptr
               : reinterpret_cast<const GLubyte*>(found->second.c_str());
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
    Fails("dlsym", 0, name);
    const auto* found =
        std::find_if(std::begin(kEntryNames), std::end(kEntryNames),
                     [name](const char* entry) { return std::strcmp(entry, name) == 0; });
    const bool missing = name == sState.script.missingEntryPoint || found == std::end(kEntryNames);
    return missing ? nullptr : kEntryPoints[found - std::begin(kEntryNames)];
}
