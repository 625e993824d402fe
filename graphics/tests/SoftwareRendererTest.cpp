// Which GL_RENDERER and EGL driver names count as software renderers when the driver cannot say
// itself, and which names an extension list holds.
#include <gtest/gtest.h>

#include "ExtensionNames.h"
#include "SoftwareRenderer.h"

namespace {

TEST(SoftwareRenderer, KnownCpuRenderersOnly) {
    for (const char* software :
         {"llvmpipe (LLVM 15.0.6, 256 bits)", "Gallium 0.4 on softpipe", "Software Rasterizer",
          "Mesa DRI Intel(R) swrast", "SWR (LLVM 12.0.0, 256 bits)", "Mesa X11", "GDI Generic",
          "Microsoft Basic Render Driver", "zink (LLVMPIPE)", "kms_swrast",
          "SwiftShader Device (Subzero)", "Apple Software Renderer"}) {
        EXPECT_TRUE(Graphics::IsKnownSoftwareRenderer(software)) << software;
    }
    for (const char* hardware :
         {"NVIDIA GeForce RTX 3060/PCIe/SSE2", "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49)",
          "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "SWRX Accelerator", "iris", "radeonsi", "",
          static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(Graphics::IsKnownSoftwareRenderer(hardware)) << (hardware ? hardware : "null");
    }
}

TEST(ExtensionNames, WholeNamesOnly) {
    const char* list = "GL_EXT_framebuffer_object_extra GL_ARB_multisample GL_EXT_stencil";
    for (const auto& [name, listed] :
         {std::pair{"GL_ARB_multisample", true}, std::pair{"GL_EXT_stencil", true},
          std::pair{"GL_EXT_framebuffer_object", false}, std::pair{"GL_ARB_multi", false},
          std::pair{"ARB_multisample", false}, std::pair{"", false}}) {
        EXPECT_EQ(Graphics::ListsExtension(list, name), listed) << name;
    }
    EXPECT_FALSE(Graphics::ListsExtension(nullptr, "GL_ARB_multisample"));
}

}  // namespace
