#!/usr/bin/env bash
# Cross-builds Velmora.exe, the tools and the tests into build/ (or $VELMORA_BUILD_DIR).
# --clang first builds with Clang and lld instead of GCC, into build-clang/ unless
# $VELMORA_BUILD_DIR says otherwise (tools/install-deps.sh --clang installs them).
# The other arguments go to `cmake --build` (e.g. --target velmora_test_programs).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
toolchain=mingw-w64-posix
build=${VELMORA_BUILD_DIR:-$root/build}
if [ "${1:-}" = "--clang" ]; then
    shift
    toolchain=clang-mingw-w64
    build=${VELMORA_BUILD_DIR:-$root/build-clang}
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" "$@"
