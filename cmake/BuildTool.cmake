# Tools that run during the build, such as the one that draws the icon: a target of this build,
# or, when it cross-compiles, a program built by the build machine's own compiler, which a target
# built for another machine could not be.
#   garvo_build_tool(NAME SOURCE) sets GARVO_TOOL_<NAME> to the tool's path, for COMMAND, and makes
#   the target <NAME>_tool, for DEPENDS and add_dependencies.
function(garvo_build_tool name source)
  if(CMAKE_CROSSCOMPILING)
    if(source MATCHES "\\.c$")
      find_program(GARVO_HOST_CC NAMES cc gcc clang REQUIRED)
      set(compiler ${GARVO_HOST_CC})
    else()
      find_program(GARVO_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
      set(compiler ${GARVO_HOST_CXX} -std=c++17)
    endif()
    set(tool ${CMAKE_BINARY_DIR}/build-tools/${name})
    add_custom_command(OUTPUT ${tool}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/build-tools
      COMMAND ${compiler} -O2 -o ${tool} ${CMAKE_SOURCE_DIR}/${source}
      DEPENDS ${CMAKE_SOURCE_DIR}/${source})
    add_custom_target(${name}_tool DEPENDS ${tool})
  else()
    add_executable(${name} ${source})
    set(tool $<TARGET_FILE:${name}>)
    add_custom_target(${name}_tool DEPENDS ${name})
  endif()
  set(GARVO_TOOL_${name} ${tool} PARENT_SCOPE)
endfunction()
