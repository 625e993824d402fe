#include "PreferGeneric.h"

#include "ProbeKit/ProbeKit.h"

unsigned char sPreferGenericDriver = 0;

VXBoolean VXGetPreferGenericDriver(void) {
    return sPreferGenericDriver;
}

void VXSetPreferGenericDriver(VXBoolean prefer) {
    sPreferGenericDriver = prefer;
}
