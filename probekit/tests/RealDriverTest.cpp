// The shipped library on the real driver of $DISPLAY (Mesa's llvmpipe under Xvfb in the suite).
// Each probe runs in a child process: the feature cache lives for the process, and Mesa reads
// its overrides when it first opens the display.
#include <gtest/gtest.h>
// Xlib's macros (None, Status) must come after gtest.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ProbeKit/ProbeKit.h"

namespace {

using Environment = std::map<std::string, std::string>;

int RootChildren(Display* display) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    if (children != nullptr) {
        XFree(children);
    }
    return static_cast<int>(count);
}

// What the child saw: "mask=…", "vendor=…", …, one line each.
std::map<std::string, std::string> ProbeInChild(const Environment& environment) {
    int fds[2];
    if (pipe(fds) != 0) {
        ADD_FAILURE() << "pipe";
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        Display* witness = XOpenDisplay(nullptr);
        const int before = witness != nullptr ? RootChildren(witness) : 0;
        std::ostringstream out;
        out << "mask=" << VXGetDriverOpenGLFeatures() << "\n";
        VXStringArray identity = VXGetDriverOpenGLIdentity();
        out << "count=" << VXStringArrayCount(identity) << "\n";
        const char* names[] = {"vendor", "renderer", "version"};
        for (int32_t i = 1; i <= VXStringArrayCount(identity); ++i) {
            out << names[i - 1] << "=" << VXStringArrayGet(identity, i) << "\n";
        }
        VXStringArrayDispose(identity);
        out << "current=" << (glXGetCurrentContext() != nullptr) << "\n";
        out << "windowsLeft=" << (witness != nullptr ? RootChildren(witness) - before : 0) << "\n";
        if (witness != nullptr) {
            XCloseDisplay(witness);
        }
        const std::string text = out.str();
        const ssize_t written = write(fds[1], text.data(), text.size());
        _exit(written == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child went on to the end";
    std::map<std::string, std::string> seen;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        seen[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return seen;
}

unsigned long MaskUnder(const Environment& environment) {
    const auto seen = ProbeInChild(environment);
    EXPECT_EQ(seen.at("current"), "0") << "no context is left current";
    EXPECT_EQ(seen.at("windowsLeft"), "0");
    return std::stoul(seen.at("mask"));
}

// The lines glxinfo prints for the compatibility profile, which the probe's legacy context uses.
std::map<std::string, std::string> Glxinfo() {
    std::map<std::string, std::string> lines;
    FILE* pipe = popen("glxinfo 2>/dev/null", "r");
    if (pipe == nullptr) {
        return lines;
    }
    char buffer[8192];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string line(buffer);
        const auto colon = line.find(": ");
        if (colon != std::string::npos && line.rfind("OpenGL ", 0) == 0) {
            lines.emplace(line.substr(0, colon), line.substr(colon + 2, line.size() - colon - 3));
        }
    }
    pclose(pipe);
    return lines;
}

class RealDriver : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no DISPLAY";
        }
    }
};

TEST_F(RealDriver, IdentityEqualsWhatGlxinfoReports) {
    const auto seen = ProbeInChild({});
    const auto glxinfo = Glxinfo();
    ASSERT_EQ(seen.at("count"), "3");
    EXPECT_EQ(seen.at("vendor"), glxinfo.at("OpenGL vendor string"));
    EXPECT_EQ(seen.at("renderer"), glxinfo.at("OpenGL renderer string"));
    EXPECT_EQ(seen.at("version"), glxinfo.at("OpenGL version string"));
}

// llvmpipe: GL 4.5 with every extension asked about, 8 stencil bits, 4-sample configs, no
// stereo, and a complete packed depth-stencil framebuffer object.
TEST_F(RealDriver, StockLlvmpipe) {
    EXPECT_EQ(MaskUnder({}), 0x3FU);
}

// 1.1: every version threshold fails, so no framebuffer-object test; two-sided stencil,
// shaders and multisampling still come through their extensions.
TEST_F(RealDriver, VersionOverride11) {
    EXPECT_EQ(MaskUnder({{"MESA_GL_VERSION_OVERRIDE", "1.1"}}), 0x3AU);
}

// Exactly 1.2 passes the framebuffer-object threshold.
TEST_F(RealDriver, VersionOverride12) {
    EXPECT_EQ(MaskUnder({{"MESA_GL_VERSION_OVERRIDE", "1.2"}}), 0x3FU);
}

// Removing this extension lowers the version to 1.5: no two-sided stencil, so the separate
// depth path leaves the framebuffer object without stencil bits.
TEST_F(RealDriver, WithoutTwoSidedStencil) {
    EXPECT_EQ(MaskUnder({{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_stencil_two_side"}}), 0x39U);
}

// Mesa drops its whole always-on group with either of these, the framebuffer object among
// them: no off-screen test, the rest by version 4.5.
TEST_F(RealDriver, WithoutFramebufferObjects) {
    EXPECT_EQ(MaskUnder({{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_framebuffer_object"}}), 0x3AU);
    EXPECT_EQ(MaskUnder({{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_packed_depth_stencil"}}), 0x3AU);
}

// 1.5 without one of the four shader extensions.
TEST_F(RealDriver, WithoutVertexShaders) {
    EXPECT_EQ(MaskUnder({{"MESA_GL_VERSION_OVERRIDE", "1.5"},
                         {"MESA_EXTENSION_OVERRIDE", "-GL_ARB_vertex_shader"}}),
              0x37U);
}

// softpipe offers no multisample configs.
TEST_F(RealDriver, Softpipe) {
    EXPECT_EQ(MaskUnder({{"GALLIUM_DRIVER", "softpipe"}}), 0x2FU);
}

TEST(NoDisplay, UnsetOrDeadDisplayGivesNeutralResults) {
    for (const char* display : {"", ":79"}) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            if (*display == '\0') {
                unsetenv("DISPLAY");
            } else {
                setenv("DISPLAY", display, 1);
            }
            const bool neutral =
                VXGetDriverOpenGLFeatures() == 0 && VXGetDriverOpenGLIdentity() == nullptr;
            _exit(neutral ? 0 : 1);
        }
        close(fds[0]);
        close(fds[1]);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "DISPLAY=" << display;
    }
}

}  // namespace
