#!/usr/bin/env bash
# Makes the release folder a plug-in maker starts from: the shipped 32-bit
# Setup.exe (Release, stripped) beside a copy of the demo package, whose
# setup.ini, agreement, picture and files are to be replaced by the maker's.
#   tools/package.sh [OUT]    OUT defaults to build/release
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

out=${1:-build/release}
[ -f build/windows/build.ninja ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Setup

rm -rf "$out"
mkdir -p "$out"
cp -r demo/package/. "$out/"
cp build/windows/src/Setup.exe "$out/Setup.exe"
size=$(stat -c %s "$out/Setup.exe")
echo "$out: Setup.exe ($size bytes) and the demo package's files:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
