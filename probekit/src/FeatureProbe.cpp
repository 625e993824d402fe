// VXGetDriverOpenGLFeatures: the feature mask of the main display's driver, cached per process.
#include <sstream>

#include "DummyWindowGLContext.h"
#include "ExtensionList.h"
#include "GLExtensions.h"
#include "LastError.h"
#include "PixelFormat.h"
#include "PreferGeneric.h"
#include "ProbeKit/ProbeKit.h"

using namespace GLPlatform;

namespace {

// Single precision on both sides, so that a driver reporting exactly 1.2 or 1.3 passes.
constexpr float kVersion1_2 = 1.2F;
constexpr float kVersion1_3 = 1.3F;
constexpr float kVersion2_0 = 2.0F;

constexpr GLsizei kOffscreenWidth = 1110;
constexpr GLsizei kOffscreenHeight = 600;

bool NotBelow(float version, float threshold) {
    return !(version < threshold);
}

// The leading decimal number of the version string; 0 when there is none.
float ReadVersion() {
    float version = 0.0F;
    const auto* text = reinterpret_cast<const char*>(GLPlatform::glGetString(GL_VERSION));
    if (text != nullptr) {
        std::istringstream stream(text);
        if (!(stream >> version)) {
            version = 0.0F;
        }
    }
    return version;
}

GLint QueryInteger(GLenum name) {
    GLint value = 0;
    GLPlatform::glGetIntegerv(name, &value);
    return value;
}

struct Probe {
    float version;
    const ExtensionList& extensions;
    uint32_t& flags;

    void stencil() const {
        if (QueryInteger(GL_STENCIL_BITS) <= 7) {
            return;
        }
        flags |= kFeatureStencil8;
        if (NotBelow(version, kVersion2_0) || extensions.has("GL_EXT_stencil_two_side")) {
            flags |= kFeatureTwoSidedStencil;
        }
    }

    void offscreen() const;

    void stereo() const {
        GLboolean stereo = GL_FALSE;
        GLPlatform::glGetBooleanv(GL_STEREO, &stereo);
        if (stereo != GL_FALSE) {
            flags |= kFeatureStereo;
        }
    }

    void shaders() const {
        if (NotBelow(version, kVersion2_0)) {
            flags |= kFeatureShaders;
            return;
        }
        for (const char* name : {"GL_ARB_shading_language_100", "GL_ARB_shader_objects",
                                 "GL_ARB_vertex_shader", "GL_ARB_fragment_shader"}) {
            if (!extensions.has(name)) {
                return;
            }
        }
        flags |= kFeatureShaders;
    }

    void multisample() const {
        if (!NotBelow(version, kVersion1_3) && !extensions.has("GL_ARB_multisample")) {
            return;
        }
        GLPlatform::glEnable(GL_MULTISAMPLE);
        const GLint sampleBuffers = QueryInteger(GL_SAMPLE_BUFFERS);
        const GLint samples = QueryInteger(GL_SAMPLES);
        if (sampleBuffers > 0 && samples > 1) {
            flags |= kFeatureMultisample;
        }
    }
};

struct FramebufferFunctions {
    void (*genFramebuffers)(GLsizei, GLuint*) = nullptr;
    void (*bindFramebuffer)(GLenum, GLuint) = nullptr;
    void (*genRenderbuffers)(GLsizei, GLuint*) = nullptr;
    void (*bindRenderbuffer)(GLenum, GLuint) = nullptr;
    void (*renderbufferStorage)(GLenum, GLenum, GLsizei, GLsizei) = nullptr;
    void (*framebufferRenderbuffer)(GLenum, GLenum, GLenum, GLuint) = nullptr;
    GLenum (*checkFramebufferStatus)(GLenum) = nullptr;
    void (*deleteRenderbuffers)(GLsizei, const GLuint*) = nullptr;
    void (*deleteFramebuffers)(GLsizei, const GLuint*) = nullptr;

    // Looks all nine up before any is tested; true when every one was found.
    bool load() {
        using GLExtensions::GetProcAddress;
        GetProcAddress(genFramebuffers, "glGenFramebuffersEXT", nullptr);
        GetProcAddress(bindFramebuffer, "glBindFramebufferEXT", nullptr);
        GetProcAddress(genRenderbuffers, "glGenRenderbuffersEXT", nullptr);
        GetProcAddress(bindRenderbuffer, "glBindRenderbufferEXT", nullptr);
        GetProcAddress(renderbufferStorage, "glRenderbufferStorageEXT", nullptr);
        GetProcAddress(framebufferRenderbuffer, "glFramebufferRenderbufferEXT", nullptr);
        GetProcAddress(checkFramebufferStatus, "glCheckFramebufferStatusEXT", nullptr);
        GetProcAddress(deleteRenderbuffers, "glDeleteRenderbuffersEXT", nullptr);
        GetProcAddress(deleteFramebuffers, "glDeleteFramebuffersEXT", nullptr);
        return genFramebuffers != nullptr && bindFramebuffer != nullptr &&
               genRenderbuffers != nullptr && bindRenderbuffer != nullptr &&
               renderbufferStorage != nullptr && framebufferRenderbuffer != nullptr &&
               checkFramebufferStatus != nullptr && deleteRenderbuffers != nullptr &&
               deleteFramebuffers != nullptr;
    }

    GLuint newRenderbuffer() const {
        GLuint name = 0;
        genRenderbuffers(1, &name);
        bindRenderbuffer(GL_RENDERBUFFER_EXT, name);
        return name;
    }

    void store(GLenum format) const {
        renderbufferStorage(GL_RENDERBUFFER_EXT, format, kOffscreenWidth, kOffscreenHeight);
    }

    void attach(GLenum attachment, GLuint renderbuffer) const {
        framebufferRenderbuffer(GL_FRAMEBUFFER_EXT, attachment, GL_RENDERBUFFER_EXT, renderbuffer);
    }
};

void Probe::offscreen() const {
    if (!NotBelow(version, kVersion1_2) || !extensions.has("GL_EXT_framebuffer_object")) {
        return;
    }
    FramebufferFunctions fbo;
    if (!fbo.load()) {
        return;
    }
    GLuint framebuffer = 0;
    fbo.genFramebuffers(1, &framebuffer);
    fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);

    const GLuint color = fbo.newRenderbuffer();
    fbo.store(GL_RGB);
    fbo.attach(GL_COLOR_ATTACHMENT0_EXT, color);

    const GLuint depth = fbo.newRenderbuffer();
    if ((flags & kFeatureTwoSidedStencil) != 0 && extensions.has("GL_EXT_packed_depth_stencil")) {
        fbo.store(GL_DEPTH24_STENCIL8_EXT);
        fbo.attach(GL_DEPTH_ATTACHMENT_EXT, depth);
        fbo.attach(GL_STENCIL_ATTACHMENT_EXT, depth);
    } else {
        fbo.store(GL_DEPTH_COMPONENT24);
        fbo.attach(GL_DEPTH_ATTACHMENT_EXT, depth);
    }

    if (fbo.checkFramebufferStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT) {
        flags |= kFeatureOffscreen;
        if (QueryInteger(GL_STENCIL_BITS) > 0) {
            flags |= kFeatureOffscreenStencil;
        }
    }

    fbo.deleteRenderbuffers(1, &color);
    fbo.deleteRenderbuffers(1, &depth);
    fbo.deleteFramebuffers(1, &framebuffer);
    fbo.bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
}

// Sets the bits one by one, so that a failure part-way keeps those already found.
void ProbeDriver(unsigned char preferGeneric, uint32_t& flags) {
    const unsigned int mask = preferGeneric == 0 ? 31U : 29U;
    const StDummyWindowGLContext context = MakeProbingContext(VXChoosePixelFormat(mask));
    const float version = ReadVersion();
    const ExtensionList extensions(
        reinterpret_cast<const char*>(GLPlatform::glGetString(GL_EXTENSIONS)));
    const Probe probe{version, extensions, flags};
    probe.stencil();
    probe.offscreen();
    probe.stereo();
    probe.shaders();
    probe.multisample();
}

}  // namespace

uint32_t VXGetDriverOpenGLFeatures(void) {
    static unsigned char preferredGeneric = sPreferGenericDriver;
    static bool didTest = false;
    static uint32_t theFlags = 0;

    if (didTest && preferredGeneric == sPreferGenericDriver) {
        return theFlags;
    }
    const unsigned char preferGeneric = sPreferGenericDriver;
    didTest = true;
    theFlags = 0;
    preferredGeneric = preferGeneric;
    try {
        ProbeDriver(preferGeneric, theFlags);
    } catch (...) {
        HandleException();
    }
    return theFlags;
}
