// The string-array exports and the boundary's error codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "LastError.h"
#include "ProbeKit/ProbeKit.h"
#include "StringArrayRec.h"

namespace {

struct ArrayOwner {
    VXStringArray array = VXStringArrayCreate();
    ~ArrayOwner() { VXStringArrayDispose(array); }
};

VXStringArray Filled(ArrayOwner& owner, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        VXStringArrayAppend(owner.array, text);
    }
    return owner.array;
}

std::vector<std::string> Contents(VXStringArray array) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= VXStringArrayCount(array); ++i) {
        out.emplace_back(VXStringArrayGet(array, i));
    }
    return out;
}

std::vector<std::string> Sorted(std::initializer_list<const char*> texts) {
    ArrayOwner owner;
    VXStringArraySort(Filled(owner, texts));
    return Contents(owner.array);
}

TEST(PreferGenericSwitch, StartsFalseAndHoldsWhatIsSet) {
    EXPECT_EQ(VXGetPreferGenericDriver(), 0);
    VXSetPreferGenericDriver(1);
    EXPECT_NE(VXGetPreferGenericDriver(), 0);
    VXSetPreferGenericDriver(0);
    EXPECT_EQ(VXGetPreferGenericDriver(), 0);
}

TEST(StringArrayLookup, PositionsCountFromOneInAppendOrder) {
    ArrayOwner owner;
    EXPECT_EQ(VXStringArrayCount(owner.array), 0);
    EXPECT_EQ(VXStringArrayGet(owner.array, 1), nullptr);
    Filled(owner, {"vendor", "renderer", "version"});
    EXPECT_EQ(Contents(owner.array), (std::vector<std::string>{"vendor", "renderer", "version"}));
    for (int32_t outside : {0, -1, 4, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(VXStringArrayGet(owner.array, outside), nullptr) << outside;
        EXPECT_EQ(gLastError, kErrBadIndex);
    }
    EXPECT_STREQ(VXStringArrayGet(owner.array, 2), "renderer");
    EXPECT_EQ(gLastError, 0) << "a successful Get clears the last error";
}

TEST(StringArrayLookup, FindFoldsCaseButNeedsTheSameLength) {
    ArrayOwner owner;
    EXPECT_EQ(VXStringArrayFind(owner.array, "x"), 0);
    Filled(owner, {"vendor", "Other", "OTHER"});
    EXPECT_EQ(VXStringArrayFind(owner.array, "VENDOR"), 1);
    EXPECT_EQ(VXStringArrayFind(owner.array, "vend"), 0);
    EXPECT_EQ(VXStringArrayFind(owner.array, "vendors"), 0);
    EXPECT_EQ(VXStringArrayFind(owner.array, "other"), 2) << "the earlier of two case variants";
    EXPECT_EQ(VXStringArrayFind(nullptr, "vendor"), 0);
}

TEST(StringArrayLookup, FoldsOnlyAsciiLetters) {
    ArrayOwner owner;
    Filled(owner, {"\xC3\x89t\xC3\xA9", "[", "@"});
    EXPECT_EQ(VXStringArrayFind(owner.array, "\xC3\xA9t\xC3\xA9"), 0) << "0xC9 and 0xE9 differ";
    EXPECT_EQ(VXStringArrayFind(owner.array, "{"), 0) << "0x5B is no letter";
    EXPECT_EQ(VXStringArrayFind(owner.array, "`"), 0);
}

TEST(StringArrayOrdering, SortsCaseInsensitivelyThenByLength) {
    EXPECT_EQ(Sorted({"b", "A", "c"}), (std::vector<std::string>{"A", "b", "c"}));
    EXPECT_EQ(Sorted({"abc", "ab"}), (std::vector<std::string>{"ab", "abc"}));
    EXPECT_EQ(Sorted({"Ax", "_x"}), (std::vector<std::string>{"_x", "Ax"}));
    EXPECT_EQ(Sorted({"ax", "_x"}), (std::vector<std::string>{"_x", "ax"}));
    EXPECT_EQ(Sorted({"", "a"}), (std::vector<std::string>{"", "a"}));
}

TEST(StringArrayOrdering, HighBytesSortBeforeAscii) {
    EXPECT_EQ(Sorted({"a", "\x80z", "\x01"}), (std::vector<std::string>{"\x80z", "\x01", "a"}));
    EXPECT_EQ(Sorted({"\x7F", "\xFF"}), (std::vector<std::string>{"\xFF", "\x7F"}));
}

TEST(StringArrayOwnership, StoresAPrivateCopyOfTheBytes) {
    ArrayOwner owner;
    char buffer[] = "original";
    VXStringArrayAppend(owner.array, buffer);
    std::memcpy(buffer, "changed!", sizeof buffer);
    EXPECT_STREQ(VXStringArrayGet(owner.array, 1), "original");
}

TEST(StringArrayOwnership, AnEmptyTextIsAString) {
    ArrayOwner owner;
    VXStringArrayAppend(owner.array, "");
    ASSERT_EQ(VXStringArrayCount(owner.array), 1);
    ASSERT_NE(VXStringArrayGet(owner.array, 1), nullptr);
    EXPECT_STREQ(VXStringArrayGet(owner.array, 1), "");
    EXPECT_EQ(VXStringArrayFind(owner.array, ""), 1);
}

TEST(StringArrayErrors, NullTextRecordsInternalErrorAndChangesNothing) {
    ArrayOwner owner;
    Filled(owner, {"one"});
    VXStringArrayAppend(owner.array, nullptr);
    EXPECT_EQ(gLastError, kErrInternal);
    EXPECT_EQ(VXStringArrayCount(owner.array), 1);
    EXPECT_EQ(VXStringArrayFind(owner.array, nullptr), 0);
    EXPECT_EQ(gLastError, kErrInternal);
}

TEST(StringArrayErrors, InvalidHandlesAreTreatedAsEmpty) {
    VXStringArrayRec dead;
    dead.strings.emplace_back("kept");
    dead.tag = 0;
    EXPECT_EQ(VXStringArrayCount(nullptr), 0);
    EXPECT_EQ(VXStringArrayCount(&dead), 0);
    EXPECT_EQ(VXStringArrayGet(nullptr, 1), nullptr);
    EXPECT_EQ(gLastError, kErrBadIndex);
    EXPECT_EQ(VXStringArrayGet(&dead, 1), nullptr);
    EXPECT_EQ(gLastError, kErrBadIndex);
    VXStringArrayDispose(nullptr);
    VXStringArrayDispose(&dead);  // must not free a record it does not recognise
    VXStringArrayAppend(&dead, "more");
    VXStringArraySort(&dead);
    EXPECT_EQ(VXStringArrayFind(&dead, "kept"), 0);
    EXPECT_EQ(dead.strings.size(), 1U) << "nothing is written through an invalid handle";
    dead.tag = VXStringArrayRec::kLiveTag;
}

TEST(BoundaryErrors, HandleExceptionMapsEachKind) {
    const auto record = [](auto&& thrower, int32_t before) {
        gLastError = before;
        try {
            thrower();
        } catch (...) {
            HandleException();
        }
        return gLastError;
    };
    EXPECT_EQ(record([] { throw QuesaException(-42); }, 0), -42);
    EXPECT_EQ(record([] { throw QuesaException(-42); }, 7), 7) << "an earlier code stands";
    EXPECT_EQ(record([] { throw std::bad_alloc(); }, 7), kErrOutOfMemory);
    EXPECT_EQ(record([] { throw 5L; }, 0), kErrInternal);
    EXPECT_EQ(record([] { throw std::logic_error("x"); }, 0), kErrInternal);
}

}  // namespace
