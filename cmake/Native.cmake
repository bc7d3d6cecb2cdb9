# Small, like the Windows image: no exceptions or unwind tables, stripped, and linked as C, since
# nothing in the native gauge needs the C++ runtime library.
function(garvo_lean_native target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti
    -fno-asynchronous-unwind-tables -fno-threadsafe-statics -fno-ident)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    return()
  endif()
  target_link_options(${target} PRIVATE $<$<CONFIG:MinSizeRel>:-s> -Wl,--as-needed)
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
  # The C runtime's start files still name the compiler, which a stripped program need not say.
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" AND CMAKE_OBJCOPY)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:${target}>)
  endif()
endfunction()
