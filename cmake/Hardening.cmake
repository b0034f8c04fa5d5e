# Hardening of release builds with the flags Debian builds its packages with, where the
# toolchain has them: fortified C library calls (-D_FORTIFY_SOURCE=2), a strong stack
# protector, relocations made read-only and bound at load (-z relro -z now) and
# position-independent executables. With mingw-w64 the checks and the stack protector live
# in libssp, linked statically so that no extra DLL ships, and the PE counterparts of PIE
# are the ASLR and DEP marks (--dynamicbase, --high-entropy-va, --nxcompat).
# Included by the top CMakeLists.txt before any target.
option(ZUOHAO_HARDENING "Harden Release builds as Debian hardens its packages" ON)
if(NOT ZUOHAO_HARDENING OR NOT CMAKE_BUILD_TYPE STREQUAL "Release"
   OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)

check_cxx_compiler_flag(-fstack-protector-strong ZUOHAO_HAVE_STACK_PROTECTOR)
if(ZUOHAO_HAVE_STACK_PROTECTOR)
  add_compile_options(-fstack-protector-strong)
endif()
# Some compilers define _FORTIFY_SOURCE themselves: one definition, level 2.
add_compile_options(-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2)

if(MINGW)
  link_libraries(-l:libssp.a)
  check_linker_flag(CXX "-Wl,--dynamicbase,--high-entropy-va,--nxcompat" ZUOHAO_HAVE_PE_MARKS)
  if(ZUOHAO_HAVE_PE_MARKS)
    add_link_options(-Wl,--dynamicbase,--high-entropy-va,--nxcompat)
  endif()
else()
  check_linker_flag(CXX "-Wl,-z,relro,-z,now" ZUOHAO_HAVE_BIND_NOW)
  if(ZUOHAO_HAVE_BIND_NOW)
    add_link_options(-Wl,-z,relro,-z,now)
  endif()
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
