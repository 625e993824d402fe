// The library's private last-error value and the handler every export calls from its
// catch-all.
#pragma once

#include <cstdint>
#include <exception>

extern int32_t gLastError;

constexpr int32_t kErrBadIndex = 104;
constexpr int32_t kErrOutOfMemory = -28482;
constexpr int32_t kErrInternal = -28500;

// An error that carries its own code.
class QuesaException : public std::exception {
public:
    explicit QuesaException(int32_t code) noexcept : mCode(code) {}
    int32_t code() const noexcept { return mCode; }
    const char* what() const noexcept override { return "QuesaException"; }

private:
    int32_t mCode;
};

// Records the exception being handled in gLastError. Call only inside a catch handler.
void HandleException() noexcept;
