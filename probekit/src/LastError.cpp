#include "LastError.h"

#include <new>

int32_t gLastError = 0;

void HandleException() noexcept {
    try {
        throw;
    } catch (const QuesaException& error) {
        if (gLastError == 0) {
            gLastError = error.code();
        }
    } catch (const std::bad_alloc&) {
        gLastError = kErrOutOfMemory;
    } catch (...) {
        gLastError = kErrInternal;
    }
}
