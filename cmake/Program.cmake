# garvo.exe: the windows, the settings file, the icon, and an image header for a gauge that runs
# for weeks at next to no cost.
if(NOT MSVC)
  # Small and self-contained: no exceptions or unwind tables, unused code dropped.
  set(GARVO_SIZE_FLAGS -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
      -ffunction-sections -fdata-sections)
  target_compile_options(garvo_rules PRIVATE ${GARVO_SIZE_FLAGS})
endif()

# GNU ld cannot set the aggressive working-set trim flag: a small tool sets it after linking.
if(NOT MSVC)
  garvo_build_tool(set_ws_trim tools/set_ws_trim.c)
endif()

# A lean image: small stack and heap, trimmed working set, no C runtime start-up code.
function(garvo_lean_image target)
  if(MSVC)
    target_link_options(${target} PRIVATE /WS:AGGRESSIVE /STACK:1024,1024 /HEAP:1024,1024)
    return()
  endif()
  target_compile_options(${target} PRIVATE ${GARVO_SIZE_FLAGS})
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/app/entry.cpp)
  # No time of linking in the header: the same sources give the same image.
  target_link_options(${target} PRIVATE -s -nostartfiles -Wl,--gc-sections -Wl,--no-insert-timestamp
    -Wl,-e,${GARVO_ENTRY_SYMBOL}
    "SHELL:-Xlinker --stack -Xlinker 1024,1024" "SHELL:-Xlinker --heap -Xlinker 1024,1024")
  add_dependencies(${target} set_ws_trim_tool)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${GARVO_TOOL_set_ws_trim} $<TARGET_FILE:${target}>)
endfunction()

add_library(garvo_win STATIC
  app/meter_state.cpp
  app/settings.cpp
  app/frame.cpp
  ui/bar.cpp
  ui/info.cpp
  ui/window_proc.cpp)
target_link_libraries(garvo_win PUBLIC garvo_rules)
if(NOT MSVC)
  target_compile_options(garvo_win PRIVATE ${GARVO_SIZE_FLAGS})
endif()

add_executable(garvo WIN32 app/main.cpp res/garvo.rc)
target_include_directories(garvo PRIVATE res)
set_source_files_properties(res/garvo.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/res/garvo.ico)
target_link_libraries(garvo PRIVATE garvo_win)
garvo_lean_image(garvo)
