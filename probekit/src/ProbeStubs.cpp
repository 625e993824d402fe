// The driver probes answer their neutral results until the GL layer exists.
#include "ProbeKit/ProbeKit.h"

VXStringArray VXGetDriverOpenGLIdentity(void) { return nullptr; }

uint32_t VXGetDriverOpenGLFeatures(void) { return 0; }
