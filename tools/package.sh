#!/usr/bin/env bash
# Makes the release folder a plug-in maker starts from: the shipped 32-bit
# Setup.exe (Release, stripped) beside a copy of the demo package, whose
# setup.ini, agreement, picture and files are to be replaced by the maker's.
#   tools/package.sh [SIGNING OPTIONS] [OUT]    OUT defaults to build/release
# With a certificate (the options or environment variables of tools/sign.sh:
# --pkcs12 FILE or a PKCS#11 token, --password-file, --timestamp URL) the
# copied Setup.exe is signed, as the last change made to it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

out=build/release
sign_options=()
while [ $# -gt 0 ]; do
  case $1 in
    --required) sign_options+=("$1"); shift ;;
    --*) [ $# -ge 2 ] || { echo "package.sh: $1 needs a value" >&2; exit 2; }; sign_options+=("$1" "$2"); shift 2 ;;
    *) out=$1; shift ;;
  esac
done
[ -f build/windows/build.ninja ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Setup

rm -rf "$out"
mkdir -p "$out"
cp -r demo/package/. "$out/"
cp build/windows/src/Setup.exe "$out/Setup.exe"
size=$(stat -c %s "$out/Setup.exe")
tools/sign.sh "${sign_options[@]}" "$out/Setup.exe"
echo "$out: Setup.exe ($size bytes before any signature) and the demo package's files:"
(cd "$out" && find . -type f | sort | sed 's|^\./|  |')
