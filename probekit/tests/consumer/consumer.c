// A program of someone else's, built against the installed ProbeKit: prints the driver's
// identity and feature mask, and fails when the driver gave no identity.
#include <ProbeKit/ProbeKit.h>
#include <stdio.h>

int main(void) {
    uint32_t mask = VXGetDriverOpenGLFeatures();
    VXStringArray identity = VXGetDriverOpenGLIdentity();
    int failed = identity == NULL;
    int32_t position;
    for (position = 1; position <= VXStringArrayCount(identity); ++position) {
        printf("%s\n", VXStringArrayGet(identity, position));
    }
    printf("features 0x%02x\n", (unsigned)mask);
    VXStringArrayDispose(identity);
    return failed;
}
