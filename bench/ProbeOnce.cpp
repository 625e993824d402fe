// One cold probe pair in a fresh process, as ReadyCheck makes at start-up.
#include "ProbeKit/ProbeKit.h"

int main() {
    const uint32_t mask = VXGetDriverOpenGLFeatures();
    VXStringArray identity = VXGetDriverOpenGLIdentity();
    const bool ok = identity != nullptr;
    VXStringArrayDispose(identity);
    return ok && mask != 0 ? 0 : 1;
}
