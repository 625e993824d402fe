// A scriptable stand-in for the GL platform layer. It records every call in order, and fails the
// running test on any GL call made while no context is current.
#pragma once

#include <string>

#include "GLPlatform.h"

namespace FakeDriver {

// By default a GL 2.1 driver with every extension the probe asks about. Every member has an
// initializer, so that rows can name only what they change.
struct Script {
    std::string failing{};   // a regular expression: the calls, as recorded, that it finds fail
    std::string throwing{};  // the call, as recorded, that throws std::bad_alloc
    GLint depth = 16;        // of every format
    const char* vendor = "Fake Vendor";  // these four: null, the driver answers null
    const char* renderer = "Fake Renderer 9000";
    const char* version = "2.1 FAKE-1.0.2";
    const char* extensions =
        "GL_ARB_multisample GL_EXT_framebuffer_object GL_EXT_packed_depth_stencil "
        "GL_EXT_stencil_two_side GL_ARB_shading_language_100 GL_ARB_shader_objects "
        "GL_ARB_vertex_shader GL_ARB_fragment_shader";
    GLint stencilBits = 8;  // of the window, and of a framebuffer object with stencil attached
    GLint sampleBuffers = 1;
    GLint samples = 4;
    GLboolean stereo = GL_FALSE;
};

// Starts afresh with the script: nothing recorded, nothing alive.
void Reset(Script script = {});
// The calls recorded since, that begin with prefix, each ending in a newline.
std::string Log(const std::string& prefix = "");
// Formats, contexts, windows and GL objects alive, plus one while a context is current.
int Live();
// The lines of section [name] of calls.txt, joined as Log joins them.
std::string Expected(const std::string& name);

}  // namespace FakeDriver
