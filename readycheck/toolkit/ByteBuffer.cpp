#include "ByteBuffer.h"

#include <cstdlib>
#include <cstring>
#include <new>

ByteBuffer::ByteBuffer(std::size_t initialCapacity) {
    if (initialCapacity > 0) {
        grow(initialCapacity);
    }
}

ByteBuffer::~ByteBuffer() {
    std::free(mBytes);
}

void ByteBuffer::grow(std::size_t needed) {
    std::size_t capacity = mCapacity == 0 ? needed : mCapacity;
    while (capacity < needed) {
        capacity = capacity > SIZE_MAX / 2 ? needed : capacity * 2;
    }
    void* bytes = std::realloc(mBytes, capacity);
    if (bytes == nullptr) {
        throw std::bad_alloc();
    }
    mBytes = static_cast<uint8_t*>(bytes);
    mCapacity = capacity;
}

uint8_t* ByteBuffer::prepare(std::size_t count) {
    if (count > SIZE_MAX - mSize) {
        throw std::bad_alloc();
    }
    if (mSize + count > mCapacity) {
        grow(mSize + count);
    }
    return mBytes + mSize;
}

void ByteBuffer::append(const void* bytes, std::size_t count) {
    if (count == 0) {
        return;
    }
    std::memcpy(prepare(count), bytes, count);
    commit(count);
}

Data MakeData(std::string_view bytes) {
    auto data = std::make_shared<ByteBuffer>(bytes.size());
    data->append(bytes.data(), bytes.size());
    return data;
}
