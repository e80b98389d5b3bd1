# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows (what runs here under wine64),
# with the mingw-w64 posix-threads toolchain.
# Use: cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake ...
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
