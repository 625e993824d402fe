// A scriptable stand-in for the GL platform layer. It records every call in order, and fails the
// running test on any GL call made while no context is current.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "GLPlatform.h"

namespace FakeDriver {

using Words = std::vector<GLint>;

struct Script {
    // Which requests, without their closing AGL_NONE, the driver can meet.
    std::function<bool(const Words&)> canMeet = [](const Words&) { return true; };
    GLint depth = 16;                       // of every format; negative: describing fails
    std::string failing;                    // the platform calls that begin with this fail
    std::string throwing;                   // the call, as recorded, that throws std::bad_alloc
    std::map<GLenum, std::string> strings;  // a name not listed answers null
    GLint stencilBits = 8;  // of the window, and of a framebuffer object with stencil attached
    GLint sampleBuffers = 1;
    GLint samples = 4;
    GLboolean stereo = GL_FALSE;
    GLenum framebufferStatus = 0x8CD5;  // complete
    std::string missingEntryPoint;
};

// Starts afresh with the script: nothing recorded, nothing alive.
void Reset(Script script = {});
// The calls recorded since, that begin with prefix, joined by "; ".
std::string Log(const std::string& prefix = "");
// Formats, contexts and windows alive, plus one while a context is current.
int Live();
// Formats are numbered in the order the driver made them.
int FormatNumber(GLPlatform::AGLPixelFormat format);
// GL 2.1 with every extension the probe asks about, changed by change.
Script Capable(const std::function<void(Script&)>& change = [](Script&) {});
// The lines of section [name] of calls.txt, joined as Log joins them.
std::string Expected(const std::string& name);

}  // namespace FakeDriver
