// The hidden window: made on the backend's connection, never shown.
#include <utility>

#include "BackendError.h"
#include "NativeCalls.h"

namespace GLPlatform {

OSStatus CreateNewWindow(WindowClass /*windowClass*/, WindowAttributes /*attributes*/,
                         const Rect* bounds, WindowRef* window) {
    if (bounds == nullptr || window == nullptr || bounds->bottom <= bounds->top ||
        bounds->right <= bounds->left) {
        return kParamError;
    }
    ConnectionRef connection = Native().connections->acquire();
    WindowRec* made =
        connection != nullptr ? Native().windows->create(std::move(connection), *bounds) : nullptr;
    if (made == nullptr) {
        return kNoDisplayError;
    }
    *window = made;
    return 0;
}

CGrafPtr GetWindowPort(WindowRef window) {
    return window != nullptr ? &window->port : nullptr;
}

void DisposeWindow(WindowRef window) {
    if (window != nullptr) {
        Native().windows->dispose(window);
    }
}

}  // namespace GLPlatform
