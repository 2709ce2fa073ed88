#!/usr/bin/env bash
# Cross-builds Velmora.exe, the tools and the tests into build/ (or $VELMORA_BUILD_DIR).
# Arguments go to `cmake --build` (e.g. --target velmora_test_programs).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${VELMORA_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" "$@"
