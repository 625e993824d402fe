// Exhausted memory inside the string-array exports, driven by a replaced operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "LastError.h"
#include "ProbeKit/ProbeKit.h"

namespace {
bool sFailNext = false;
}

void* operator new(std::size_t size) {
    void* block = sFailNext ? nullptr : std::malloc(size != 0 ? size : 1);
    sFailNext = false;
    return block != nullptr ? block : throw std::bad_alloc();
}

// Replaced too: a sanitizer runtime's own would not pass through the one above.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    void* block = sFailNext ? nullptr : std::malloc(size);
    sFailNext = false;
    return block;
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t /*size*/) noexcept {
    std::free(block);
}

namespace {

TEST(OutOfMemory, EachStringArrayExportRecordsItAndChangesNothing) {
    constexpr const char* kLong = "a string too long for the small-string buffer";
    sFailNext = true;
    EXPECT_EQ(VXStringArrayCreate(), nullptr);
    EXPECT_EQ(gLastError, kErrOutOfMemory);
    VXStringArray array = VXStringArrayCreate();
    VXStringArrayAppend(array, kLong);
    sFailNext = true;
    VXStringArrayAppend(array, kLong);
    EXPECT_EQ(gLastError, kErrOutOfMemory);
    sFailNext = true;
    EXPECT_EQ(VXStringArrayFind(array, kLong), 0);
    EXPECT_EQ(gLastError, kErrOutOfMemory);
    EXPECT_EQ(VXStringArrayCount(array), 1);
    VXStringArrayDispose(array);
}

}  // namespace
