# Small, like the Windows image: no exceptions or unwind tables, stripped, and linked as C, since
# nothing in the native gauge needs the C++ runtime library.
include(CheckCXXSourceCompiles)
# A linker that cannot pack them for this target only says it ignored the option.
set(CMAKE_REQUIRED_LINK_OPTIONS -Wl,-z,pack-relative-relocs)
check_cxx_source_compiles("int main() { return 0; }" GARVO_HAVE_RELR FAIL_REGEX "ignored")
unset(CMAKE_REQUIRED_LINK_OPTIONS)
set(GARVO_PACK_RELOCATIONS $<$<BOOL:${GARVO_HAVE_RELR}>:-Wl,-z,pack-relative-relocs>)
function(garvo_lean_native target)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-asynchronous-unwind-tables
    -fno-ident -ffunction-sections -fdata-sections
    $<$<COMPILE_LANGUAGE:CXX>:-fno-rtti -fno-threadsafe-statics>)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    return()
  endif()
  # What nothing calls is left out; relative relocations are packed where the linker and the C
  # library know how, which keeps the protocols' tables from doubling the program's first pages.
  target_link_options(${target} PRIVATE $<$<CONFIG:MinSizeRel>:-s> -Wl,--as-needed
    -Wl,--gc-sections ${GARVO_PACK_RELOCATIONS})
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C)
  # The C runtime's start files still name the compiler, which a stripped program need not say.
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" AND CMAKE_OBJCOPY)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:${target}>)
  endif()
endfunction()
