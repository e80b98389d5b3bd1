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

ctest --test-dir build/native --output-on-failure -j2 "$@"
