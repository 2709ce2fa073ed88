#!/usr/bin/env bash
# Installs what building and testing Velmora on Debian needs, when it is missing: the
# MinGW-w64 cross compiler (posix threads), CMake, GoogleTest's sources, Wine and Xvfb.
set -euo pipefail

missing=()
need() { # need COMMAND-OR-PATH PACKAGE
    if [[ "$1" == /* ]]; then [ -e "$1" ] || missing+=("$2"); else command -v "$1" >/dev/null 2>&1 || missing+=("$2"); fi
}
need cmake cmake
need make make
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need x86_64-w64-mingw32-windres binutils-mingw-w64-x86-64
need /usr/src/googletest/CMakeLists.txt googletest
need wine wine
need /usr/lib/wine/wine64 wine64
need Xvfb xvfb
need import imagemagick

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
