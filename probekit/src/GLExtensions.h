// Run-time lookup of OpenGL extension entry points.
#pragma once

#include "GLPlatform.h"

namespace GLExtensions {

// Stores the address of name, or, when that is null and alternate is given, of alternate.
// The stored pointer is null when neither is found.
template <typename T>
void GetProcAddress(T& function, const char* name, const char* alternate) {
    function = reinterpret_cast<T>(GLPlatform::dlsym(name));
    if (function == nullptr && alternate != nullptr) {
        function = reinterpret_cast<T>(GLPlatform::dlsym(alternate));
    }
}

}  // namespace GLExtensions
