// The walk over the attribute words, on a backend table whose native names are small numbers.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "AttributeWalk.h"

using namespace GLPlatform;

namespace {

// The native drawable-type attribute, its window and off-screen bits, and the list's end.
enum : int { kTypes = 100, kWindow = 0x1, kOffscreen = 0x4, kEnd = 99 };

// Two pairs for RGBA, sizes for depth and samples, nothing for double buffering, no stereo and no
// rule at all for stencil.
constexpr WordRule kRules[] = {
    {AGL_RGBA, WordRule::kPair, 1, 2},      {AGL_RGBA, WordRule::kPair, 3, 4},
    {AGL_DOUBLEBUFFER, WordRule::kNothing}, {AGL_STEREO, WordRule::kUnmet},
    {AGL_DEPTH_SIZE, WordRule::kSize, 5},   {AGL_SAMPLES_ARB, WordRule::kSize, 6},
};
constexpr int kForWindows[] = {7, 8};
const AttributeTable kTable = {kRules, kTypes, kWindow, kOffscreen, kForWindows, kEnd};

using Walked = std::tuple<std::vector<int>, bool, bool>;  // attributes, accelerated, unmet

std::optional<Walked> WalkOf(const std::vector<GLint>& words) {
    const auto request = Walk(words.data(), kTable);
    if (!request) {
        return std::nullopt;
    }
    return Walked{request->attributes, request->accelerated, request->unmet};
}

// Rows: the words before AGL_NONE, and what the walk makes of them (none: a word it does not know).
TEST(AttributeWalk, TranslatesEachWordByTheBackendsTable) {
    for (const auto& [words, walked] :
         std::vector<std::tuple<std::vector<GLint>, std::optional<Walked>>>{
             // no drawable asked: a window, without the pairs that windows add
             {{AGL_RGBA}, Walked{{1, 2, 3, 4, kTypes, kWindow, kEnd}, false, false}},
             {{AGL_WINDOW, AGL_DEPTH_SIZE, 24, AGL_SAMPLES_ARB, 4},
              Walked{{5, 24, 6, 4, kTypes, kWindow, 7, 8, kEnd}, false, false}},
             // a size that happens to equal a word is still a size
             {{AGL_DEPTH_SIZE, AGL_RGBA},
              Walked{{5, AGL_RGBA, kTypes, kWindow, kEnd}, false, false}},
             {{AGL_OFFSCREEN, AGL_DOUBLEBUFFER, AGL_MINIMUM_POLICY, AGL_MULTISAMPLE},
              Walked{{kTypes, kOffscreen, kEnd}, false, false}},
             {{AGL_WINDOW, AGL_OFFSCREEN, AGL_ACCELERATED},
              Walked{{kTypes, kWindow | kOffscreen, 7, 8, kEnd}, true, false}},
             {{AGL_STEREO}, Walked{{kTypes, kWindow, kEnd}, false, true}},
             {{AGL_RGBA, AGL_STENCIL_SIZE, 8}, std::nullopt},
             {{AGL_RGBA, 1234}, std::nullopt},
         }) {
        std::vector<GLint> terminated = words;
        terminated.push_back(AGL_NONE);
        EXPECT_EQ(WalkOf(terminated), walked) << ::testing::PrintToString(words);
    }
}

}  // namespace
