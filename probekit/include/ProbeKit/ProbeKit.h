/*
 * ProbeKit: asks the OpenGL driver of the main display who it is and what it can do.
 *
 * The main display is the Wayland compositor that WAYLAND_DISPLAY names where one answers (EGL),
 * else the X server that DISPLAY names (GLX), else, with no display at all, a GPU through EGL
 * (the software renderer last). The first probe decides, for the life of the process; a probe
 * that loses its compositor or server gives the neutral result, and a later one connects anew.
 *
 * Every function has C linkage and never lets an exception out: a failure shows only as the
 * neutral result named for it (a null handle or pointer, a count, position or mask of 0).
 * None of them is thread-safe; call them from one thread at a time.
 */
#ifndef PROBEKIT_PROBEKIT_H
#define PROBEKIT_PROBEKIT_H

#include <stdint.h>

#if defined(__GNUC__)
#define VX_EXPORT __attribute__((visibility("default")))
#else
#define VX_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A one-byte boolean: 0 is false, anything else true. */
typedef unsigned char VXBoolean; /* NOLINT(modernize-use-using): C */

/* An ordered list of strings, positions counted from 1. Opaque; owned by whoever received it
 * and freed only by VXStringArrayDispose. Comparisons fold the letters A-Z to a-z; stored bytes
 * are kept unchanged. */
typedef struct VXStringArrayRec* VXStringArray; /* NOLINT(modernize-use-using): C */

/* Bits of the mask returned by VXGetDriverOpenGLFeatures. No other bit is ever set. */
enum {
    kFeatureOffscreen = 0x01,        /* a framebuffer object with colour and depth is complete */
    kFeatureTwoSidedStencil = 0x02,  /* two-sided stencil with at least 8 stencil bits */
    kFeatureOffscreenStencil = 0x04, /* that framebuffer object has stencil bits */
    kFeatureShaders = 0x08,          /* vertex and fragment shaders */
    kFeatureMultisample = 0x10,      /* multisample anti-aliasing */
    kFeatureStencil8 = 0x20,         /* at least 8 stencil bits */
    kFeatureStereo = 0x40            /* stereo framebuffer */
};

/* Returns the prefer-generic-driver switch: false at load. While true, the probes do not ask
 * for a hardware-accelerated renderer. */
VX_EXPORT VXBoolean VXGetPreferGenericDriver(void);

/* Sets the switch. It is held in memory only. */
VX_EXPORT void VXSetPreferGenericDriver(VXBoolean prefer);

/* Returns a new empty array, or NULL when memory is exhausted. */
VX_EXPORT VXStringArray VXStringArrayCreate(void);

/* Frees the array and its strings. A NULL or invalid handle is ignored. */
VX_EXPORT void VXStringArrayDispose(VXStringArray array);

/* Returns the NUL-terminated string at position index (1 is the first), or NULL for a NULL or
 * invalid handle or an index outside 1..count. The bytes belong to the array and stay valid
 * until the array is next changed or disposed of. */
VX_EXPORT const char* VXStringArrayGet(VXStringArray array, int32_t index);

/* Returns the number of strings; 0 for a NULL or invalid handle. */
VX_EXPORT int32_t VXStringArrayCount(VXStringArray array);

/* Returns the position of the first string equal to text (same length, letters compared
 * without case), or 0 when there is none, or for a NULL or invalid handle or NULL text. */
VX_EXPORT int32_t VXStringArrayFind(VXStringArray array, const char* text);

/* Appends a copy of text. NULL text, an invalid handle or exhausted memory change nothing. */
VX_EXPORT void VXStringArrayAppend(VXStringArray array, const char* text);

/* Sorts the strings in ascending order, letters compared without case; strings that differ
 * only in case end up in no defined order. An invalid handle is ignored. */
VX_EXPORT void VXStringArraySort(VXStringArray array);

/* Returns a new array of three strings, the driver's GL_VENDOR, GL_RENDERER and GL_VERSION,
 * or NULL when no context could be made on the main display or the driver gave no string.
 * The caller owns the array. Makes and destroys a hidden window and a context; no context is
 * current afterwards. */
VX_EXPORT VXStringArray VXGetDriverOpenGLIdentity(void);

/* Returns the mask of kFeature bits of the main display's driver, 0 when no context could be
 * made. The first call probes the driver; later calls return the cached mask until the
 * prefer-generic switch differs from the value it had for that probe. No context is current
 * after a probe. */
VX_EXPORT uint32_t VXGetDriverOpenGLFeatures(void);

#ifdef __cplusplus
}
#endif

#endif /* PROBEKIT_PROBEKIT_H */
