// A growable byte buffer. Growth goes through realloc, which moves large blocks by remapping
// pages rather than copying them, so a buffer of n bytes never needs much more than n of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class ByteBuffer {
public:
    explicit ByteBuffer(std::size_t initialCapacity = 0);
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer&) = delete;
    ByteBuffer& operator=(const ByteBuffer&) = delete;

    // Throws std::bad_alloc when memory is exhausted; the buffer is then unchanged.
    void append(const void* bytes, std::size_t count);
    void append(const ByteBuffer& other) { append(other.data(), other.size()); }

    const uint8_t* data() const { return mBytes; }
    std::size_t size() const { return mSize; }
    std::size_t capacity() const { return mCapacity; }
    std::string_view view() const { return {reinterpret_cast<const char*>(mBytes), mSize}; }

    // Makes room for count more bytes and returns where they go; commit() then counts them.
    uint8_t* prepare(std::size_t count);
    void commit(std::size_t count) { mSize += count; }
    void clear() { mSize = 0; }

private:
    void grow(std::size_t needed);

    uint8_t* mBytes = nullptr;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
};

using Data = std::shared_ptr<ByteBuffer>;

Data MakeData(std::string_view bytes);
