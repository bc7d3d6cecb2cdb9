# The native gauge as a user drives it, with real mouse input on an X display: the scripts that
# drive garvo.exe under Wine, and a few more for what only the native gauge does (signals, X
# servers that fail, other windows, scale, monitors, the settings file as an ordinary user). They
# need no Wine. Their tests are named "e2e.x11.*".
add_executable(native_load e2e/native_load.cpp)
target_link_libraries(native_load PRIVATE garvo_unix)
add_executable(x_windows e2e/x_windows.cpp)
target_link_libraries(x_windows PRIVATE X11::X11)
add_executable(x_proxy e2e/x_proxy.cpp)
target_link_libraries(x_proxy PRIVATE X11::X11)
add_executable(start_blocked e2e/start_blocked.cpp)
if(TARGET garvo_wayland_protocols)
  add_executable(wl_pointer e2e/wl_pointer.cpp)
  target_link_libraries(wl_pointer PRIVATE garvo_wayland_protocols)
  add_executable(screen_reader e2e/screen_reader.cpp)
  target_link_libraries(screen_reader PRIVATE garvo_unix)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(WAYLAND_SERVER REQUIRED IMPORTED_TARGET wayland-server)
  add_executable(wl_plain e2e/wl_plain.cpp)
  target_link_libraries(wl_plain PRIVATE PkgConfig::WAYLAND_SERVER)
endif()

# The gauge as users run it, where the test command names one; else this build's own.
set(GARVO_X11_GAUGE "" CACHE FILEPATH "The native garvo to drive; this build's when empty")
set(gauge $<TARGET_FILE:garvo>)
if(GARVO_X11_GAUGE)
  set(gauge ${GARVO_X11_GAUGE})
endif()
file(GLOB scripts ${CMAKE_CURRENT_LIST_DIR}/test_*.sh ${CMAKE_CURRENT_LIST_DIR}/x11_*.sh)
foreach(script ${scripts})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME e2e.x11.${name} COMMAND bash ${script} ${gauge} $<TARGET_FILE:native_load>)
  set_tests_properties(e2e.x11.${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600
    ENVIRONMENT "GARVO_TOOLS=$<TARGET_FILE_DIR:x_windows>")
endforeach()

# The same as a user drives them on Wayland, where the compositor offers a layer shell: headless
# sway, a virtual pointer, the screen read back. Named "e2e.wayland.*".
if(TARGET wl_pointer)
  foreach(name test_start_and_close test_drag_and_threshold test_hover test_logoff)
    list(APPEND wayland_scripts ${CMAKE_CURRENT_LIST_DIR}/${name}.sh)
  endforeach()
  file(GLOB own ${CMAKE_CURRENT_LIST_DIR}/wayland_*.sh)
  foreach(script ${wayland_scripts} ${own})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.wayland.${name} COMMAND bash ${script} ${gauge} $<TARGET_FILE:native_load>)
    set_tests_properties(e2e.wayland.${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 600
      ENVIRONMENT "GARVO_TOOLS=$<TARGET_FILE_DIR:x_windows>;GARVO_FRONT=wayland")
  endforeach()
endif()
