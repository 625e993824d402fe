// Exhausted memory inside the string-array exports, driven by a replaced operator new.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "LastError.h"
#include "ProbeKit/ProbeKit.h"

namespace {
int sAllocationsBeforeFailure = -1;  // negative: never fail
}

void* operator new(std::size_t size) {
    if (sAllocationsBeforeFailure == 0) {
        throw std::bad_alloc();
    }
    if (sAllocationsBeforeFailure > 0) {
        --sAllocationsBeforeFailure;
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

// Replaced too: a sanitizer runtime's own would not pass through the counter above.
void* operator new(std::size_t size, const std::nothrow_t& /*tag*/) noexcept {
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t /*size*/) noexcept {
    std::free(block);
}

namespace {

struct FailNextAllocation {
    FailNextAllocation() { sAllocationsBeforeFailure = 0; }
    ~FailNextAllocation() { sAllocationsBeforeFailure = -1; }
};

TEST(OutOfMemory, CreateReturnsNullWithTheCode) {
    gLastError = 0;
    const FailNextAllocation failing;
    EXPECT_EQ(VXStringArrayCreate(), nullptr);
    EXPECT_EQ(gLastError, kErrOutOfMemory);
}

TEST(OutOfMemory, AppendAndFindLeaveTheArrayAsItWas) {
    VXStringArray array = VXStringArrayCreate();
    ASSERT_NE(array, nullptr);
    VXStringArrayAppend(array, "a string too long for the small-string buffer");
    {
        const FailNextAllocation failing;
        VXStringArrayAppend(array, "another string too long for the small-string buffer");
        EXPECT_EQ(gLastError, kErrOutOfMemory);
    }
    EXPECT_EQ(VXStringArrayCount(array), 1);
    {
        const FailNextAllocation failing;
        EXPECT_EQ(VXStringArrayFind(array, "a string too long for the small-string buffer"), 0);
        EXPECT_EQ(gLastError, kErrOutOfMemory);
    }
    EXPECT_EQ(VXStringArrayFind(array, "A STRING TOO LONG FOR THE SMALL-STRING BUFFER"), 1);
    VXStringArrayDispose(array);
}

}  // namespace
