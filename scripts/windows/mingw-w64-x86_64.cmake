# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (POSIX thread model, so that
# std::thread and std::mutex work). Used by scripts/windows/*.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZUOHAO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZUOHAO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZUOHAO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZUOHAO_MINGW_TRIPLE}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZUOHAO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Tests built for Windows run under Wine on the build machine.
find_program(ZUOHAO_WINE NAMES wine wine64)
if(ZUOHAO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZUOHAO_WINE})
endif()
