# Where the protocol descriptions are, and a function that generates a protocol's client code
# into the calling directory's build tree. Sets garvo_wayland_missing to what is missing, for the
# choice of front ends, or to "" when everything is there.
set(garvo_wayland_missing "")
find_package(PkgConfig)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(WAYLAND_CLIENT QUIET IMPORTED_TARGET wayland-client)
  pkg_get_variable(GARVO_WAYLAND_PROTOCOLS wayland-protocols pkgdatadir)
  # Arch, Alpine and others ship the wlr protocols alone, with a .pc file of their own.
  pkg_get_variable(wlr_pkgdatadir wlr-protocols pkgdatadir)
endif()
find_program(WAYLAND_SCANNER wayland-scanner)

# Else Debian's: the wlr protocols come with a Rust crate's sources, in librust-wayland-protocols-dev
# on Debian 12 and librust-wayland-protocols-wlr-dev on Debian 13.
set(wlr_default "")
if(wlr_pkgdatadir AND EXISTS ${wlr_pkgdatadir}/unstable/wlr-layer-shell-unstable-v1.xml)
  set(wlr_default ${wlr_pkgdatadir}/unstable)
else()
  file(GLOB_RECURSE wlr_found
    /usr/share/cargo/registry/wayland-protocols*/wlr-layer-shell-unstable-v1.xml)
  if(wlr_found)
    list(SORT wlr_found)
    list(POP_BACK wlr_found wlr_default)
    get_filename_component(wlr_default ${wlr_default} DIRECTORY)
  endif()
endif()
set(GARVO_WLR_PROTOCOLS "${wlr_default}" CACHE PATH
  "Where wlr-layer-shell-unstable-v1.xml and the other wlr protocol descriptions are")

if(NOT WAYLAND_CLIENT_FOUND)
  set(garvo_wayland_missing "wayland-client (Debian: libwayland-dev)")
elseif(NOT GARVO_WAYLAND_PROTOCOLS)
  set(garvo_wayland_missing "wayland-protocols (Debian: wayland-protocols)")
elseif(NOT WAYLAND_SCANNER)
  set(garvo_wayland_missing "wayland-scanner (Debian: libwayland-bin)")
elseif(NOT GARVO_WLR_PROTOCOLS)
  set(garvo_wayland_missing
    "the wlr protocols (wlr-protocols; Debian: librust-wayland-protocols-wlr-dev)")
elseif(NOT EXISTS "${GARVO_WLR_PROTOCOLS}/wlr-layer-shell-unstable-v1.xml")
  message(FATAL_ERROR "GARVO_WLR_PROTOCOLS is ${GARVO_WLR_PROTOCOLS}, which holds no "
    "wlr-layer-shell-unstable-v1.xml")
endif()

# A protocol's header and code, in this directory's build tree; its code joins protocol_sources.
function(garvo_protocol name xml)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/protocols)
  file(MAKE_DIRECTORY ${generated})
  add_custom_command(OUTPUT ${generated}/${name}.h ${generated}/${name}.c
    COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${generated}/${name}.h
    COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}.c
    DEPENDS ${xml})
  set(protocol_sources ${protocol_sources} ${generated}/${name}.c PARENT_SCOPE)
endfunction()

# The same for a compositor's side, for the tests' own compositor.
function(garvo_server_protocol name xml)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/protocols)
  file(MAKE_DIRECTORY ${generated})
  add_custom_command(OUTPUT ${generated}/${name}-server.h ${generated}/${name}-server.c
    COMMAND ${WAYLAND_SCANNER} server-header ${xml} ${generated}/${name}-server.h
    COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${generated}/${name}-server.c
    DEPENDS ${xml})
  set(protocol_sources ${protocol_sources} ${generated}/${name}-server.c PARENT_SCOPE)
endfunction()
