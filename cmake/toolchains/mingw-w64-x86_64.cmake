# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
#         -DMORVANE_BUILD_GUI=OFF
# The programs are linked statically, so a bare Windows (or Wine) runs them without extra DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MORVANE_MINGW_PREFIX x86_64-w64-mingw32)
# The "posix" thread model gives the standard library its std::thread and std::mutex.
set(CMAKE_C_COMPILER ${MORVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MORVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MORVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MORVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest runs the Windows programs through Wine when it is there.
find_program(MORVANE_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MORVANE_WINE})
endif()
