#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything and runs every test: native tests under the sanitizers, the fuzzers for
# a bounded time, the resource check of the shipped 32-bit executable and the end-to-end
# tests of the 64-bit build under Wine (each starts its own X server).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh

cmake --preset i686 >/dev/null
cmake --build --preset i686
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64
cmake --preset native -DVX_ORVALEN_I686_EXE="$root/build/i686/app/Orvalen.exe" \
      -DVX_WINDOWS_BUILD_DIR="$root/build/x86_64" >/dev/null
cmake --build --preset native
# The capture worker on real threads, under ThreadSanitizer (which excludes the other sanitizers).
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DVX_TSAN=ON >/dev/null
cmake --build build/tsan --target app_thread_tsan_test

ctest --test-dir build/tsan --output-on-failure -R DrawCtrlThReal
ctest --test-dir build/native --output-on-failure -j2 "$@"
