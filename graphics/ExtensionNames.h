// Whether a driver's space-separated extension list names an extension.
#pragma once

namespace Graphics {

// Whole names only, byte-exact: "GL_EXT_foo" is not found in "GL_EXT_foo_bar". A null list names
// nothing.
bool ListsExtension(const char* list, const char* name);

}  // namespace Graphics
