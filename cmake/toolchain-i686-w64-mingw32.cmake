# SPDX-License-Identifier: MIT
# Cross build for 32-bit Windows (the shipped Orvalen.exe),
# with the mingw-w64 posix-threads toolchain.
# Use: cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake ...
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
