#include "ExtensionNames.h"

#include <cstring>

namespace Graphics {

bool ListsExtension(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    if (list == nullptr || length == 0) {
        return false;
    }
    for (const char* found = std::strstr(list, name); found != nullptr;
         found = std::strstr(found + 1, name)) {
        const bool starts = found == list || found[-1] == ' ';
        const bool ends = found[length] == ' ' || found[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

}  // namespace Graphics
