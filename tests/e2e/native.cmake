# The native gauge as a user drives it, with real mouse input on an X display: the scripts that
# drive garvo.exe under Wine, and a few more for what only the native gauge does (signals, X
# servers that fail, other windows, scale, monitors, the settings file as an ordinary user). They
# need no Wine. Their tests are named "e2e.x11.*".
add_executable(native_load e2e/native_load.cpp)
target_link_libraries(native_load PRIVATE garvo_unix)
add_executable(start_blocked e2e/start_blocked.cpp)
# Other programs' windows and misbehaving servers, written with Xlib as most X programs are.
find_package(X11 REQUIRED)
add_executable(x_windows e2e/x_windows.cpp)
target_link_libraries(x_windows PRIVATE X11::X11)
add_executable(x_proxy e2e/x_proxy.cpp)
target_link_libraries(x_proxy PRIVATE X11::X11)
if(GARVO_BUILD_WAYLAND)
  # The tests' own protocols: a virtual pointer to drive the compositor with, and KWin's fake
  # input where plasma-wayland-protocols is there.
  set(protocol_sources)
  garvo_protocol(wlr-virtual-pointer ${GARVO_WLR_PROTOCOLS}/wlr-virtual-pointer-unstable-v1.xml)
  find_file(GARVO_FAKE_INPUT fake-input.xml PATHS /usr/share/plasma-wayland-protocols NO_DEFAULT_PATH)
  if(GARVO_FAKE_INPUT)
    garvo_protocol(fake-input ${GARVO_FAKE_INPUT})
  endif()
  add_executable(wl_pointer e2e/wl_pointer.cpp ${protocol_sources})
  if(GARVO_FAKE_INPUT)
    target_compile_definitions(wl_pointer PRIVATE GARVO_FAKE_INPUT)
  endif()
  target_include_directories(wl_pointer PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/protocols)
  target_link_libraries(wl_pointer PRIVATE garvo_wayland_protocols PkgConfig::WAYLAND_CLIENT)
  add_executable(screen_reader e2e/screen_reader.cpp)
  target_link_libraries(screen_reader PRIVATE garvo_unix)
  # A compositor that misbehaves on purpose.
  pkg_check_modules(WAYLAND_SERVER REQUIRED IMPORTED_TARGET wayland-server)
  set(protocol_sources)
  garvo_server_protocol(wlr-layer-shell ${GARVO_WLR_PROTOCOLS}/wlr-layer-shell-unstable-v1.xml)
  garvo_server_protocol(xdg-shell ${GARVO_WAYLAND_PROTOCOLS}/stable/xdg-shell/xdg-shell.xml)
  garvo_server_protocol(relative-pointer
    ${GARVO_WAYLAND_PROTOCOLS}/unstable/relative-pointer/relative-pointer-unstable-v1.xml)
  add_executable(wl_rogue e2e/wl_rogue.cpp ${protocol_sources})
  target_include_directories(wl_rogue PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/protocols)
  target_link_libraries(wl_rogue PRIVATE PkgConfig::WAYLAND_SERVER)
endif()

# The gauge as users run it, where the test command names one; else this build's own.
set(GARVO_X11_GAUGE "" CACHE FILEPATH "The native garvo to drive; this build's when empty")
set(gauge $<TARGET_FILE:garvo>)
if(GARVO_X11_GAUGE)
  set(gauge ${GARVO_X11_GAUGE})
endif()
# One script against one gauge, as test PREFIX.<script's name>, with the environment entries given.
function(garvo_e2e prefix script gauge)
  get_filename_component(name ${script} NAME_WE)
  # A gauge that set-up could not install for is the reason its tests are skipped.
  if(gauge MATCHES "^left out: ")
    add_test(NAME ${prefix}.${name} COMMAND sh -c "echo '${gauge}'; exit 77")
    set_tests_properties(${prefix}.${name} PROPERTIES SKIP_RETURN_CODE 77)
    return()
  endif()
  set(environment "GARVO_TOOLS=$<TARGET_FILE_DIR:x_windows>" ${ARGN})
  add_test(NAME ${prefix}.${name} COMMAND bash ${script} ${gauge} $<TARGET_FILE:native_load>)
  set_tests_properties(${prefix}.${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600
    ENVIRONMENT "${environment}")
endfunction()

file(GLOB scripts ${CMAKE_CURRENT_LIST_DIR}/test_*.sh ${CMAKE_CURRENT_LIST_DIR}/x11_*.sh
  ${CMAKE_CURRENT_LIST_DIR}/native_*.sh)
foreach(script ${scripts})
  garvo_e2e(e2e.x11 ${script} ${gauge})
endforeach()

# The same as a user drives them on Wayland, where the compositor offers a layer shell: headless
# sway, a virtual pointer, the screen read back. Named "e2e.wayland.*".
if(TARGET wl_pointer)
  foreach(name test_start_and_close test_drag_and_threshold test_hover test_logoff)
    list(APPEND wayland_scripts ${CMAKE_CURRENT_LIST_DIR}/${name}.sh)
  endforeach()
  file(GLOB own ${CMAKE_CURRENT_LIST_DIR}/wayland_*.sh ${CMAKE_CURRENT_LIST_DIR}/native_*.sh)
  foreach(script ${wayland_scripts} ${own})
    garvo_e2e(e2e.wayland ${script} ${gauge} GARVO_FRONT=wayland)
  endforeach()
  # Drags on the other layer-shell compositors users run: KWin, and labwc from a Debian 13 chroot.
  set(GARVO_LABWC_ROOT "" CACHE PATH "A Debian 13 system with labwc, for the drags on labwc")
  if(GARVO_LABWC_ROOT)
    add_test(NAME e2e.wayland.compositors COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/compositors.sh
      ${gauge} $<TARGET_FILE:native_load>)
    set_tests_properties(e2e.wayland.compositors PROPERTIES RUN_SERIAL TRUE TIMEOUT 900
      ENVIRONMENT "GARVO_TOOLS=$<TARGET_FILE_DIR:x_windows>;GARVO_LABWC_ROOT=${GARVO_LABWC_ROOT}")
  endif()
endif()

# The same scripts, once, against the release builds for other architectures, run under
# user-mode emulation: "arm64=/path/to/garvo;armhf=...", or "armhf=left out: why" for one that
# set-up could not install for, whose tests are skipped. Named "e2e.<arch>.x11.*" and
# "e2e.<arch>.wayland.*". The soak is left out: its five minutes weigh the emulator's memory
# more than the gauge's, and the native run already holds the gauge to it.
set(GARVO_CROSS_GAUGES "" CACHE STRING "Other architectures' garvo to drive under emulation")
foreach(entry ${GARVO_CROSS_GAUGES})
  string(REGEX REPLACE "=.*" "" arch "${entry}")
  string(REGEX REPLACE "^[^=]*=" "" cross_gauge "${entry}")
  foreach(script ${scripts})
    if(NOT script MATCHES "test_soak.sh$")
      garvo_e2e(e2e.${arch}.x11 ${script} "${cross_gauge}" GARVO_EMULATED=${arch})
    endif()
  endforeach()
  if(TARGET wl_pointer)
    foreach(script ${wayland_scripts} ${own})
      garvo_e2e(e2e.${arch}.wayland ${script} "${cross_gauge}" GARVO_FRONT=wayland
        GARVO_EMULATED=${arch})
    endforeach()
  endif()
endforeach()

# One pass of the native gauge's own scripts against this build, when it is the sanitizers' build:
# a leak, an overflow or a stray read fails them. Named "e2e.sanitized.*".
if(GARVO_SANITIZE)
  foreach(name test_drag_and_threshold native_drag_edge)
    garvo_e2e(e2e.sanitized.x11 ${CMAKE_CURRENT_LIST_DIR}/${name}.sh $<TARGET_FILE:garvo>)
  endforeach()
  if(TARGET wl_pointer)
    foreach(script ${own})
      garvo_e2e(e2e.sanitized.wayland ${script} $<TARGET_FILE:garvo> GARVO_FRONT=wayland)
    endforeach()
  endif()
endif()
