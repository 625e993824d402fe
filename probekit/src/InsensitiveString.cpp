#include "InsensitiveString.h"

#include <stdexcept>

InsensitiveString MakeInsensitiveString(const char* text) {
    if (text == nullptr) {
        throw std::logic_error("string built from a null pointer");
    }
    return InsensitiveString(text);
}
