# The Debian package: the native build's install, plus what Debian asks of any package. The
# dependencies are those of the shared libraries the gauge links, found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME garvo)
set(CPACK_PACKAGE_CONTACT "garvo developers <garvo@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "always-on-top gauge of physical memory in use")
set(CPACK_PACKAGE_DESCRIPTION "garvo shows how much of the machine's physical memory is in use, in a
thin bar that stays above other windows: blue below a warning threshold, red at
or above it. Hovering shows the figures; a drag moves the bar, a double-click
sets the threshold, a right-click quits. It costs next to nothing, takes no
keyboard focus and starts at login.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A cross build is packaged for its target, whose libraries dpkg-shlibdeps finds among the
# multiarch packages when cpack runs with DEB_HOST_ARCH set to the same.
if(CMAKE_CROSSCOMPILING)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${GARVO_DEBIAN_ARCH})
endif()
# The text's helper opens fontconfig and FreeType itself, and each front end its display's
# libraries, where shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libfontconfig1, libfreetype6")
if(GARVO_BUILD_X11)
  # RandR's monitors came with libxcb 1.12.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libxcb1 (>= 1.12), libxcb-randr0 (>= 1.12)")
endif()
if(GARVO_BUILD_WAYLAND)
  # wl_proxy_marshal_flags came with 1.20.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libwayland-client0 (>= 1.20)")
endif()
# Packed relocations need a C library that reads them, which shlibdeps does not see either.
if(GARVO_HAVE_RELR)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libc6 (>= 2.36)")
endif()
# The autostart entry is the user's to edit: an upgrade keeps their changes.
if(GARVO_AUTOSTART)
  file(WRITE ${CMAKE_BINARY_DIR}/conffiles "${GARVO_AUTOSTART_DIR}/garvo.desktop\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/conffiles)
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
