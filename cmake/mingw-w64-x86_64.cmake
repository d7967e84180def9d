# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model, whose libstdc++ has std::thread and std::mutex):
#   cmake -S . -B build-windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# scripts/build_windows.sh does this in one step.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MURKFELL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MURKFELL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MURKFELL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${MURKFELL_MINGW}-windres)

# Headers and libraries come from the Windows sysroot only; tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MURKFELL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine where it is installed (ctest, test discovery).
find_program(MURKFELL_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MURKFELL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MURKFELL_WINE})
endif()
