# The Debian packages (debian/): each is the install component of its own name, which
# debian/rules installs into the package's tree. Whatever names no component belongs to the
# program.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME readycheck)

# What debian/rules reads from the build: the home page is a build setting.
file(WRITE ${PROJECT_BINARY_DIR}/debian.substvars "readycheck:Homepage=${READYCHECK_MAKER_URL}\n")

# The copyright holder and licence are stated once, in the DEP-5 copyright file the packages
# ship; the AppStream metadata names the same licence.
set(READYCHECK_COPYRIGHT_FILE ${PROJECT_SOURCE_DIR}/debian/copyright)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${READYCHECK_COPYRIGHT_FILE})
file(STRINGS ${READYCHECK_COPYRIGHT_FILE} READYCHECK_LICENSE REGEX "^License: " LIMIT_COUNT 1)
string(REGEX REPLACE "^License: +" "" READYCHECK_LICENSE "${READYCHECK_LICENSE}")
if(NOT READYCHECK_LICENSE)
    message(FATAL_ERROR "no License field in ${READYCHECK_COPYRIGHT_FILE}")
endif()
