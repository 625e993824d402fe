# The Debian package: `cpack -G DEB` in the build directory. Everything installs under /usr;
# the program finds its library and profiler relative to itself, so any libdir works.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME readycheck)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Checks whether the graphics are ready for the 3D application")
set(CPACK_PACKAGE_DESCRIPTION
    "ReadyCheck probes the OpenGL driver of the main display and shows the graphics card, its\n\
video memory, four capability checks and a verdict for each edition of the 3D application.\n\
The package also holds libProbeKit, the driver probe, with its C header, pkg-config file and\n\
CMake package.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ReadyCheck developers <developers@readycheck.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${READYCHECK_MAKER_URL})
# Dependencies come from the binaries (dpkg-shlibdeps), not from a hand-kept list.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
