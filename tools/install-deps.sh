#!/usr/bin/env bash
# Installs what building and testing Velmora on Debian needs, when it is missing: the
# MinGW-w64 cross compiler (posix threads), the build machine's own C++ compiler (the build
# runs the pack compressor on it), CMake, Python (checks of the tests), GoogleTest's sources,
# Wine, Xvfb, a German locale and cppcheck (tools/test.sh runs it). --clang adds what the Clang
# build and tools/analyse.sh's clang-tidy need: Clang, lld and clang-tidy.
set -euo pipefail

missing=()
need() { # need COMMAND-OR-PATH PACKAGE
    if [[ "$1" == /* ]]; then [ -e "$1" ] || missing+=("$2"); else command -v "$1" >/dev/null 2>&1 || missing+=("$2"); fi
}
need cmake cmake
need python3 python3
need make make
need c++ g++
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
need /usr/src/googletest/CMakeLists.txt googletest
need wine wine
need /usr/lib/wine/wine64 wine64
need Xvfb xvfb
need import imagemagick
need /usr/share/i18n/locales/de_DE locales
need cppcheck cppcheck
if [ "${1:-}" = "--clang" ]; then
    need clang++ clang
    need ld.lld lld
    need clang-tidy clang-tidy
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes the user language from the Unix locale; the language tests run under German.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
