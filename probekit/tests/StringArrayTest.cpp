// The string-array exports, the switch and the boundary's error codes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "LastError.h"
#include "ProbeKit/ProbeKit.h"
#include "StringArrayRec.h"

namespace {

using Strings = std::vector<std::string>;

struct Array {
    VXStringArray handle = VXStringArrayCreate();
    explicit Array(const Strings& texts = {}) {
        for (const std::string& text : texts) {
            VXStringArrayAppend(handle, text.c_str());
        }
    }
    ~Array() { VXStringArrayDispose(handle); }
    Strings contents() const {
        Strings out;
        for (int32_t i = 1; i <= VXStringArrayCount(handle); ++i) {
            out.emplace_back(VXStringArrayGet(handle, i));
        }
        return out;
    }
};

TEST(PreferGenericSwitch, StartsFalseAndHoldsWhatIsSet) {
    EXPECT_EQ(VXGetPreferGenericDriver(), 0);
    VXSetPreferGenericDriver(1);
    EXPECT_EQ(VXGetPreferGenericDriver(), 1);
    VXSetPreferGenericDriver(0);
}

TEST(StringArray, GetCountsFromOneAndRejectsEverythingElse) {
    const Array array({"vendor", "", "version"});
    EXPECT_EQ(array.contents(), (Strings{"vendor", "", "version"}));
    for (const int32_t outside : {0, -1, 4, INT32_MIN}) {
        gLastError = 0;
        EXPECT_EQ(VXStringArrayGet(array.handle, outside), nullptr);
        EXPECT_EQ(gLastError, kErrBadIndex);
    }
    EXPECT_STREQ(VXStringArrayGet(array.handle, 3), "version");
    EXPECT_EQ(gLastError, 0) << "cleared on entry";
}

// Rows: the strings, a text, the position Find gives for it.
using FindCase = std::tuple<Strings, const char*, int32_t>;
class StringArrayFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(StringArrayFind, FoldsOnlyAsciiLettersAndNeedsTheSameLength) {
    const auto& [strings, text, position] = GetParam();
    const Array array(strings);
    EXPECT_EQ(VXStringArrayFind(array.handle, text), position);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringArrayFind,
                         ::testing::Values(FindCase{{"vendor"}, "VENDOR", 1},
                                           FindCase{{"vendor"}, "vend", 0},
                                           FindCase{{"vend"}, "vendor", 0},
                                           FindCase{{"x", "Other", "OTHER"}, "other", 2},
                                           FindCase{{}, "x", 0}, FindCase{{"a", ""}, "", 2},
                                           FindCase{{"@", "[", "{"}, "{", 3},
                                           FindCase{{"@"}, "`", 0}, FindCase{{"\xC9t"}, "\xE9t", 0},
                                           FindCase{{"AZ"}, "az", 1}));

using SortCase = std::pair<Strings, Strings>;
class StringArraySort : public ::testing::TestWithParam<SortCase> {};

TEST_P(StringArraySort, OrdersFoldedSignedBytesThenLength) {
    const Array array(GetParam().first);
    VXStringArraySort(array.handle);
    EXPECT_EQ(array.contents(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringArraySort,
                         ::testing::Values(SortCase{{"b", "A", "c"}, {"A", "b", "c"}},
                                           SortCase{{"abc", "ab", ""}, {"", "ab", "abc"}},
                                           SortCase{{"Ax", "_x"}, {"_x", "Ax"}},
                                           SortCase{{"ax", "_x"}, {"_x", "ax"}},
                                           SortCase{{"a", "\x01", "\x80z"}, {"\x80z", "\x01", "a"}},
                                           SortCase{{"\x7F", "\xFF"}, {"\xFF", "\x7F"}},
                                           SortCase{{"[", "b"}, {"[", "b"}},
                                           SortCase{{"Z", "_"}, {"_", "Z"}}));

TEST(StringArray, KeepsAPrivateCopyAndRefusesNullText) {
    const Array array;
    char buffer[] = "original";
    VXStringArrayAppend(array.handle, buffer);
    std::memcpy(buffer, "changed!", sizeof buffer);
    VXStringArrayAppend(array.handle, nullptr);
    EXPECT_EQ(gLastError, kErrInternal);
    EXPECT_EQ(VXStringArrayFind(array.handle, nullptr), 0);
    EXPECT_EQ(gLastError, kErrInternal);
    EXPECT_EQ(array.contents(), Strings{"original"});
}

TEST(StringArray, InvalidHandlesReadAsEmptyAndAreNeverWritten) {
    EXPECT_EQ(Array().handle->tag, 0x53616E65U);
    VXStringArrayRec dead;
    dead.strings.emplace_back("kept");
    dead.tag = 0x53616E64;
    for (VXStringArray handle : {static_cast<VXStringArray>(nullptr), &dead}) {
        EXPECT_EQ(VXStringArrayCount(handle), 0);
        EXPECT_EQ(VXStringArrayGet(handle, 1), nullptr);
        EXPECT_EQ(gLastError, kErrBadIndex);
        EXPECT_EQ(VXStringArrayFind(handle, "kept"), 0);
        VXStringArrayDispose(handle);
    }
    VXStringArrayAppend(&dead, "more");
    VXStringArraySort(&dead);
    EXPECT_EQ(dead.strings.size(), 1U);
}

TEST(BoundaryErrors, HandleExceptionMapsEachKind) {
    const auto recorded = [](auto&& thrower, int32_t before) {
        gLastError = before;
        try {
            thrower();
        } catch (...) {
            HandleException();
        }
        return gLastError;
    };
    EXPECT_EQ(recorded([] { throw QuesaException(-42); }, 0), -42);
    EXPECT_EQ(recorded([] { throw QuesaException(-42); }, 7), 7);
    EXPECT_EQ(recorded([] { throw std::bad_alloc(); }, 7), kErrOutOfMemory);
    EXPECT_EQ(recorded([] { throw 5L; }, 0), kErrInternal);
}

}  // namespace
