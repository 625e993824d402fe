// A scriptable stand-in for the GL platform layer. It records every call, in order, as text.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "GLPlatform.h"

namespace FakeDriver {

using AttributeWords = std::vector<GLint>;  // a request without its closing AGL_NONE

struct Script {
    // Which requests the driver can meet.
    std::function<bool(const AttributeWords&)> canMeet = [](const AttributeWords&) { return true; };
    // Depth bits of the format made for a request; by default what it asked for.
    std::function<GLint(const AttributeWords&)> depthOf = [](const AttributeWords& words) {
        return words.size() > 1 ? words[1] : 0;
    };
    bool describeFails = false;
    GLPlatform::OSStatus windowStatus = 0;
    bool contextFails = false;
    GLenum contextError = 10004;

    // GL_VENDOR, GL_RENDERER, GL_VERSION, GL_EXTENSIONS; a missing entry answers null.
    std::map<GLenum, std::string> strings;
    GLint stencilBits = 8;             // of the window-system framebuffer
    GLint framebufferStencilBits = 8;  // while a framebuffer object is bound
    GLint sampleBuffers = 1;
    GLint samples = 4;
    GLboolean stereo = GL_FALSE;
    GLenum framebufferStatus = 0x8CD5;  // GL_FRAMEBUFFER_COMPLETE_EXT
    std::set<std::string> missingEntryPoints;
};

struct State {
    Script script;
    std::vector<std::string> calls;
    int liveFormats = 0;
    int liveContexts = 0;
    int liveWindows = 0;
    GLPlatform::AGLContext current = nullptr;
    unsigned int boundFramebuffer = 0;
    unsigned int nextRenderbuffer = 1;
};

// Starts afresh with the script: no calls recorded, nothing alive.
void Reset(Script script = {});
State& Current();

// The requests passed to aglChoosePixelFormat, in order.
std::vector<AttributeWords> ChosenLists();
// Calls whose text begins with prefix.
std::vector<std::string> CallsStartingWith(const std::string& prefix);
// True when the request holds the boolean attribute, or the valued attribute with that value.
bool Holds(const AttributeWords& words, GLint attribute, std::optional<GLint> value = {});

// A typical modern driver: GL 2.1, every extension the probe asks about.
Script CapableDriver();

}  // namespace FakeDriver
