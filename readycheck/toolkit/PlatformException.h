// The platform's exception class: a name and a reason.
#pragma once

#include <stdexcept>
#include <string>

class PlatformException : public std::runtime_error {
public:
    PlatformException(std::string name, const std::string& reason)
        : std::runtime_error(reason), mName(std::move(name)) {}
    const std::string& name() const { return mName; }
    std::string reason() const { return what(); }

private:
    std::string mName;
};

constexpr const char* kInvalidArgumentException = "NSInvalidArgumentException";
