#!/usr/bin/env bash
# Builds every target (native, windows, windows64) and runs every test this
# machine can run. Installs what is missing first (needs root or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh

"$(dirname "$0")/install-deps.sh"

# The house format first: a drifted file is named at once and fails the run.
tools/check-format.sh

jobs=$(nproc 2>/dev/null || echo 2)
for preset in native windows64 windows; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  echo "== build $preset"
  cmake --build --preset "$preset" -j "$jobs"
done

# Every run starts from fresh copies of the Wine template prefix.
for prefix in "$WINE_DIR"/run-*; do
  [ -d "$prefix" ] && wine_stop "$prefix" && rm -rf "$prefix"
done
trap 'for p in "$WINE_DIR"/run-*; do [ -d "$p" ] && wine_stop "$p"; done' EXIT

declare -A result
status=0
run_tests() {
  local preset=$1
  echo "== test $preset"
  if ctest --preset "$preset" -j "$2"; then
    result[$preset]=passed
  else
    result[$preset]=FAILED
    status=1
  fi
}

run_tests native "$jobs"
run_tests windows64 1
reason=$(win32_skip_reason)
if [ -z "$reason" ]; then
  run_tests windows 1
else
  result[windows]="skipped: $reason"
fi

echo
echo "== summary"
echo "native (Linux, portable back ends):       ${result[native]}"
echo "windows64 (64-bit Setup build, Wine):     ${result[windows64]}"
echo "windows (32-bit Setup build, Wine):       ${result[windows]}"
exit $status
