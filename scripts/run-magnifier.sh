#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the 64-bit magnifier and runs it under Wine. With a display ($DISPLAY) it runs there
# until the magnifier is closed; without one it starts an X server of its own, takes a short
# scripted tour (select a range over a test pattern, open the about dialog, close) and says
# where the screenshot of it is.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64

# The Wine prefix lives in the build tree, made once with the end-to-end harness's fonts.
export VX_WINEPREFIX="${VX_WINEPREFIX:-$root/build/wineprefix}"
export VX_WINDOWS_BUILD_DIR="$root/build/x86_64"
if [ -n "${DISPLAY:-}" ]; then
  exec python3 tests/e2e/tour.py --here
fi
VX_E2E_OUT="$root/build/tour-logs" python3 tests/e2e/tour.py --out "$root/build/tour.png"
