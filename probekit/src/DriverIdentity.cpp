// VXGetDriverOpenGLIdentity: the driver's vendor, renderer and version strings.
#include "DummyWindowGLContext.h"
#include "LastError.h"
#include "PixelFormat.h"
#include "PreferGeneric.h"
#include "ProbeKit/ProbeKit.h"
#include "StringArrayRec.h"

using namespace GLPlatform;

namespace {

const char* DriverString(GLenum name) {
    return reinterpret_cast<const char*>(GLPlatform::glGetString(name));
}

}  // namespace

VXStringArray VXGetDriverOpenGLIdentity(void) {
    try {
        const unsigned int mask = kPixelFormatWindow | kPixelFormatStencil |
                                  kPixelFormatMultisample |
                                  (sPreferGenericDriver != 0 ? 0U : kPixelFormatAccelerated);
        StringArrayOwner array;
        {
            const StDummyWindowGLContext context = MakeProbingContext(VXChoosePixelFormat(mask));
            const char* vendor = DriverString(GL_VENDOR);
            const char* renderer = DriverString(GL_RENDERER);
            const char* version = DriverString(GL_VERSION);
            array = std::make_unique<VXStringArrayRec>();
            // A null driver string cannot be built into a string and fails the whole call.
            for (const char* text : {vendor, renderer, version}) {
                array->strings.push_back(MakeInsensitiveString(text));
            }
        }
        return array.release();
    } catch (...) {
        HandleException();
        return nullptr;
    }
}
