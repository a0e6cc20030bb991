#!/usr/bin/env bash
# Installs the build and test tools that are missing on a Debian 12 machine:
# CMake, Ninja, g++, clang-format, GoogleTest, both MinGW-w64 compilers, Wine
# (64-bit and, through i386 multiarch, its 32-bit part), Xvfb, and osslsigncode
# with openssl for signed releases.
set -euo pipefail

missing=()
need() { command -v "$1" >/dev/null 2>&1 || missing+=("$2"); }
need cmake cmake
need ninja ninja-build
need g++ g++
need clang-format clang-format
need osslsigncode osslsigncode
need openssl openssl
need i686-w64-mingw32-g++-posix g++-mingw-w64-i686-posix
need x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64-posix
need xvfb-run xvfb
need xauth xauth
[ -x /usr/lib/wine/wine64 ] || missing+=(wine wine64)
[ -e /usr/lib/wine/wine ] || missing+=(wine32:i386)
[ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || missing+=(libgtest-dev)
[ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
if [[ " ${missing[*]} " == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# On a machine that cannot execute 32-bit code a trigger of wine32 prints
# "Exec format error"; the packages are installed all the same.
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
