// The shipped library on real drivers: Mesa's llvmpipe under Xvfb, other drivers through Mesa's
// overrides, and X servers that the test starts and kills. Probes run in child processes: the
// feature cache lives for the process, and Mesa reads its overrides once.
#include <gtest/gtest.h>
// Xlib's macros (None, Status) must come after gtest.
#include <GL/glx.h>
#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>

#include "ProbeKit/ProbeKit.h"

namespace {

std::string ReadAll(int fd, char end = '\0') {
    std::string text;
    for (char c = 0; read(fd, &c, 1) == 1 && (end == '\0' || c != end);) {
        text += c;
    }
    close(fd);
    return text;
}

// What body returns, from a child that must end with status 0.
std::string InChild(const std::function<std::string()>& body) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string text = body();
        _exit(write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 2);
    }
    close(fds[1]);
    std::string text = ReadAll(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(status, 0) << "the child ended through exit(), or by a signal";
    return text;
}

// "mask|vendor|renderer|version|current=...|windows=..." in a child with environment.
std::string Probe(const std::map<std::string, std::string>& environment) {
    return InChild([&environment] {
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        Display* witness = XOpenDisplay(nullptr);
        const auto windows = [witness] {
            Window root = 0;
            Window* children = nullptr;
            unsigned int count = 0;
            XQueryTree(witness, DefaultRootWindow(witness), &root, &root, &children, &count);
            XFree(children);
            return count;
        };
        const unsigned int before = windows();
        std::string seen = std::to_string(VXGetDriverOpenGLFeatures());
        VXStringArray identity = VXGetDriverOpenGLIdentity();
        for (int32_t i = 1; i <= VXStringArrayCount(identity); ++i) {
            seen += std::string("|") + VXStringArrayGet(identity, i);
        }
        VXStringArrayDispose(identity);
        seen += "|current=" + std::to_string(glXGetCurrentContext() != nullptr) +
                "|windows=" + std::to_string(windows() - before);
        XCloseDisplay(witness);
        return seen;
    });
}

TEST(RealLibrary, FindsTheNineEntryPointsBeforeAnyContext) {
    ASSERT_EQ(glXGetCurrentContext(), nullptr);
    for (const char* name :
         {"glGenFramebuffersEXT", "glBindFramebufferEXT", "glGenRenderbuffersEXT",
          "glBindRenderbufferEXT", "glRenderbufferStorageEXT", "glFramebufferRenderbufferEXT",
          "glCheckFramebufferStatusEXT", "glDeleteRenderbuffersEXT", "glDeleteFramebuffersEXT"}) {
        EXPECT_NE(dlsym(RTLD_DEFAULT, name), nullptr) << name;
    }
}

TEST(RealLibrary, IdentityIsWhatGlxinfoReportsAndNothingIsLeft) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no DISPLAY";
    }
    FILE* glxinfo = popen(
        "glxinfo | sed -n 's/^OpenGL \\(vendor\\|renderer\\|version\\) string: /|/p'"
        " | tr -d '\\n'",
        "r");
    const std::string expected =
        std::string("63").append(ReadAll(fileno(glxinfo))).append("|current=0|windows=0");
    pclose(glxinfo);
    EXPECT_EQ(Probe({}), expected);
}

using OverrideCase = std::pair<std::map<std::string, std::string>, unsigned long>;
class MesaOverrides : public ::testing::TestWithParam<OverrideCase> {};

TEST_P(MesaOverrides, GiveTheirDriversMask) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no DISPLAY";
    }
    EXPECT_EQ(std::stoul(Probe(GetParam().first)), GetParam().second);
}

// Exactly 1.2 passes the framebuffer-object threshold. Without two-sided stencil Mesa reports 1.5
// and the separate depth path has no stencil. softpipe offers no multisample configs.
INSTANTIATE_TEST_SUITE_P(
    Mesa, MesaOverrides,
    ::testing::Values(OverrideCase{{{"MESA_GL_VERSION_OVERRIDE", "1.2"}}, 0x3F},
                      OverrideCase{{{"MESA_EXTENSION_OVERRIDE", "-GL_EXT_stencil_two_side"}}, 0x39},
                      OverrideCase{{{"GALLIUM_DRIVER", "softpipe"}}, 0x2F}));

// A server of the test's own; returns its pid and sets DISPLAY to it.
pid_t StartXvfb() {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("Xvfb", "Xvfb", "-displayfd", std::to_string(fds[1]).c_str(), "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // The server ends if the pipe closes before its whole line is written.
    setenv("DISPLAY", std::string(":").append(ReadAll(fds[0], '\n')).c_str(), 1);
    return pid;
}

void Kill(pid_t server) {
    kill(server, SIGKILL);
    waitpid(server, nullptr, 0);
}

// Xlib's own answer to a lost server is exit(1) from inside the library.
TEST(LostServer, GivesNeutralResultsThenANewConnection) {
    EXPECT_EQ(InChild([] {
                  std::string seen;
                  for (const bool lost : {false, true, false}) {
                      const pid_t server = StartXvfb();
                      VXSetPreferGenericDriver(VXGetPreferGenericDriver() == 0 ? 1 : 0);
                      if (lost) {
                          Kill(server);
                      }
                      VXStringArray identity = VXGetDriverOpenGLIdentity();
                      seen += std::to_string(VXGetDriverOpenGLFeatures()) + " " +
                              std::to_string(VXStringArrayCount(identity)) + " ";
                      VXStringArrayDispose(identity);
                      if (!lost) {
                          Kill(server);
                      }
                  }
                  unsetenv("DISPLAY");
                  VXSetPreferGenericDriver(0);
                  return seen + std::to_string(VXGetDriverOpenGLFeatures());
              }),
              "63 3 0 0 63 3 0");
}

}  // namespace
