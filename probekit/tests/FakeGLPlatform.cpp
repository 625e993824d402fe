#include "FakeGLPlatform.h"

#include <cstdio>

using namespace GLPlatform;

struct GLPlatform::DeviceRec {};
struct GLPlatform::PixelFormatRec {
    GLint depth;
};
struct GLPlatform::ContextRec {
    CGrafPtr drawable = nullptr;
};
struct GLPlatform::GrafPort {};
struct GLPlatform::WindowRec {
    GrafPort port;
};

namespace FakeDriver {

namespace {

State sState;
DeviceRec sMainDevice;

void Record(std::string call) {
    sState.calls.push_back(std::move(call));
}

std::string Join(const AttributeWords& words) {
    std::string text;
    for (GLint word : words) {
        text += (text.empty() ? "" : ",") + std::to_string(word);
    }
    return text;
}

std::string Hex(unsigned int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

bool IsValued(GLint attribute) {
    return attribute == AGL_DEPTH_SIZE || attribute == AGL_STENCIL_SIZE ||
           attribute == AGL_SAMPLE_BUFFERS_ARB || attribute == AGL_SAMPLES_ARB;
}

void GenFramebuffers(GLsizei count, GLuint* names) {
    Record("glGenFramebuffersEXT");
    for (GLsizei i = 0; i < count; ++i) {
        names[i] = 100 + static_cast<GLuint>(i);
    }
}
void BindFramebuffer(GLenum target, GLuint name) {
    Record("glBindFramebufferEXT " + Hex(target) + " " + std::to_string(name));
    sState.boundFramebuffer = name;
}
void GenRenderbuffers(GLsizei count, GLuint* names) {
    Record("glGenRenderbuffersEXT");
    for (GLsizei i = 0; i < count; ++i) {
        names[i] = sState.nextRenderbuffer++;
    }
}
void BindRenderbuffer(GLenum target, GLuint name) {
    Record("glBindRenderbufferEXT " + Hex(target) + " " + std::to_string(name));
}
void RenderbufferStorage(GLenum target, GLenum format, GLsizei width, GLsizei height) {
    Record("glRenderbufferStorageEXT " + Hex(target) + " " + Hex(format) + " " +
           std::to_string(width) + "x" + std::to_string(height));
}
void FramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum rbTarget, GLuint name) {
    Record("glFramebufferRenderbufferEXT " + Hex(target) + " " + Hex(attachment) + " " +
           Hex(rbTarget) + " " + std::to_string(name));
}
GLenum CheckFramebufferStatus(GLenum target) {
    Record("glCheckFramebufferStatusEXT " + Hex(target));
    return sState.script.framebufferStatus;
}
void DeleteRenderbuffers(GLsizei /*count*/, const GLuint* names) {
    Record("glDeleteRenderbuffersEXT " + std::to_string(names[0]));
}
void DeleteFramebuffers(GLsizei /*count*/, const GLuint* names) {
    Record("glDeleteFramebuffersEXT " + std::to_string(names[0]));
}

template <typename T>
void* Address(T function) {
    return reinterpret_cast<void*>(function);
}

const std::map<std::string, void*>& EntryPoints() {
    static const std::map<std::string, void*> sEntryPoints{
        {"glGenFramebuffersEXT", Address(GenFramebuffers)},
        {"glBindFramebufferEXT", Address(BindFramebuffer)},
        {"glGenRenderbuffersEXT", Address(GenRenderbuffers)},
        {"glBindRenderbufferEXT", Address(BindRenderbuffer)},
        {"glRenderbufferStorageEXT", Address(RenderbufferStorage)},
        {"glFramebufferRenderbufferEXT", Address(FramebufferRenderbuffer)},
        {"glCheckFramebufferStatusEXT", Address(CheckFramebufferStatus)},
        {"glDeleteRenderbuffersEXT", Address(DeleteRenderbuffers)},
        {"glDeleteFramebuffersEXT", Address(DeleteFramebuffers)},
    };
    return sEntryPoints;
}

}  // namespace

void Reset(Script script) {
    sState = State{};
    sState.script = std::move(script);
}

State& Current() {
    return sState;
}

std::vector<AttributeWords> ChosenLists() {
    std::vector<AttributeWords> lists;
    const std::string prefix = "aglChoosePixelFormat ";
    for (const std::string& call : CallsStartingWith(prefix)) {
        AttributeWords words;
        std::size_t start = prefix.size();
        while (start < call.size()) {
            const std::size_t end = call.find(',', start);
            words.push_back(std::stoi(call.substr(start, end - start)));
            start = end == std::string::npos ? call.size() : end + 1;
        }
        words.pop_back();  // AGL_NONE
        lists.push_back(words);
    }
    return lists;
}

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& call : sState.calls) {
        if (call.rfind(prefix, 0) == 0) {
            found.push_back(call);
        }
    }
    return found;
}

bool Holds(const AttributeWords& words, GLint attribute, std::optional<GLint> value) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == attribute) {
            return !value || (i + 1 < words.size() && words[i + 1] == *value);
        }
        if (IsValued(words[i])) {
            ++i;
        }
    }
    return false;
}

Script CapableDriver() {
    Script script;
    script.strings = {
        {GL_VENDOR, "Fake Vendor"},
        {GL_RENDERER, "Fake Renderer 9000"},
        {GL_VERSION, "2.1 FAKE-1.0.2"},
        {GL_EXTENSIONS,
         "GL_ARB_multisample GL_EXT_framebuffer_object GL_EXT_packed_depth_stencil "
         "GL_EXT_stencil_two_side GL_ARB_shading_language_100 GL_ARB_shader_objects "
         "GL_ARB_vertex_shader GL_ARB_fragment_shader"},
    };
    return script;
}

}  // namespace FakeDriver

using FakeDriver::Record;
using FakeDriver::sState;

GDHandle GLPlatform::GetMainDevice() {
    Record("GetMainDevice");
    return &FakeDriver::sMainDevice;
}

AGLPixelFormat GLPlatform::aglChoosePixelFormat(const GDHandle* devices, GLint deviceCount,
                                                const GLint* attributes) {
    FakeDriver::AttributeWords words;
    for (const GLint* word = attributes; *word != AGL_NONE; ++word) {
        words.push_back(*word);
    }
    words.push_back(AGL_NONE);
    Record("aglChoosePixelFormat " + FakeDriver::Join(words));
    words.pop_back();
    if (deviceCount != 1 || devices[0] != &FakeDriver::sMainDevice ||
        !sState.script.canMeet(words)) {
        return nullptr;
    }
    ++sState.liveFormats;
    return new PixelFormatRec{sState.script.depthOf(words)};
}

GLboolean GLPlatform::aglDescribePixelFormat(AGLPixelFormat format, GLint attribute, GLint* value) {
    Record("aglDescribePixelFormat " + std::to_string(attribute));
    if (sState.script.describeFails) {
        return GL_FALSE;
    }
    *value = format->depth;
    return GL_TRUE;
}

void GLPlatform::aglDestroyPixelFormat(AGLPixelFormat format) {
    Record("aglDestroyPixelFormat");
    --sState.liveFormats;
    delete format;
}

AGLContext GLPlatform::aglCreateContext(AGLPixelFormat /*format*/, AGLContext /*share*/) {
    Record("aglCreateContext");
    if (sState.script.contextFails) {
        return nullptr;
    }
    ++sState.liveContexts;
    return new ContextRec;
}

GLenum GLPlatform::aglGetError() {
    Record("aglGetError");
    return sState.script.contextFails ? sState.script.contextError : 0;
}

GLboolean GLPlatform::aglSetDrawable(AGLContext context, CGrafPtr port) {
    Record(port != nullptr ? "aglSetDrawable window" : "aglSetDrawable null");
    context->drawable = port;
    return GL_TRUE;
}

GLboolean GLPlatform::aglSetCurrentContext(AGLContext context) {
    Record(context != nullptr ? "aglSetCurrentContext context" : "aglSetCurrentContext null");
    sState.current = context;
    return GL_TRUE;
}

GLboolean GLPlatform::aglDestroyContext(AGLContext context) {
    Record("aglDestroyContext");
    --sState.liveContexts;
    delete context;
    return GL_TRUE;
}

OSStatus GLPlatform::CreateNewWindow(WindowClass windowClass, WindowAttributes attributes,
                                     const Rect* bounds, WindowRef* window) {
    Record("CreateNewWindow " + std::to_string(windowClass) + " " + std::to_string(attributes) +
           " " + std::to_string(bounds->top) + "," + std::to_string(bounds->left) + "," +
           std::to_string(bounds->bottom) + "," + std::to_string(bounds->right));
    if (sState.script.windowStatus != 0) {
        return sState.script.windowStatus;
    }
    ++sState.liveWindows;
    *window = new WindowRec;
    return 0;
}

CGrafPtr GLPlatform::GetWindowPort(WindowRef window) {
    return &window->port;
}

void GLPlatform::DisposeWindow(WindowRef window) {
    Record("DisposeWindow");
    --sState.liveWindows;
    delete window;
}

const GLubyte* GLPlatform::glGetString(GLenum name) {
    Record("glGetString " + FakeDriver::Hex(name));
    const auto found = sState.script.strings.find(name);
    return found == sState.script.strings.end()
               ? nullptr
               : reinterpret_cast<const GLubyte*>(found->second.c_str());
}

void GLPlatform::glGetIntegerv(GLenum name, GLint* value) {
    Record("glGetIntegerv " + FakeDriver::Hex(name));
    const FakeDriver::Script& script = sState.script;
    switch (name) {
        case GL_STENCIL_BITS:
            *value =
                sState.boundFramebuffer != 0 ? script.framebufferStencilBits : script.stencilBits;
            break;
        case GL_SAMPLE_BUFFERS:
            *value = script.sampleBuffers;
            break;
        case GL_SAMPLES:
            *value = script.samples;
            break;
        default:
            break;
    }
}

void GLPlatform::glGetBooleanv(GLenum name, GLboolean* value) {
    Record("glGetBooleanv " + FakeDriver::Hex(name));
    if (name == GL_STEREO) {
        *value = sState.script.stereo;
    }
}

void GLPlatform::glEnable(GLenum capability) {
    Record("glEnable " + FakeDriver::Hex(capability));
}

void* GLPlatform::dlsym(const char* name) {
    Record(std::string("dlsym ") + name);
    if (sState.script.missingEntryPoints.count(name) != 0) {
        return nullptr;
    }
    const auto& entryPoints = FakeDriver::EntryPoints();
    const auto found = entryPoints.find(name);
    return found == entryPoints.end() ? nullptr : found->second;
}
