#!/usr/bin/env bash
# Benchmarks (timings, not tests): natively in an optimised build without
# sanitizers on the portable back ends, and under Wine on the real ones.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
tools/install-deps.sh

[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target detection_bench install_bench scan_bench >/dev/null
echo "== native (portable back ends, Release)"
build/bench/tests/detection_bench
build/bench/tests/install_bench

# The drive walk over 200,000 files in 20,000 folders, beside find on the
# same tree. The tree lives under build/ (a small /tmp would not hold it).
tree=build/bench/scan-tree
build/bench/tests/scan_bench make "$tree"
status=0
build/bench/tests/scan_bench walk "$tree" || status=$?
rm -rf "$tree"
[ "$status" = 0 ] || exit "$status"

# The same files copied by cp -r into 5 targets, for comparison.
work=build/bench/cp-compare
rm -rf "$work"
mkdir -p "$work/bench/small" "$work/bench/big"
head -c 2048 /dev/zero | tr '\0' s >"$work/one.8bf"
for i in $(seq 0 499); do cp "$work/one.8bf" "$work/bench/small/f$i.8bf"; done
for i in 0 1 2 3 4; do head -c $((50 * 1024 * 1024)) /dev/zero | tr '\0' b >"$work/bench/big/g$i.bin"; done
sync
start=$(date +%s.%N)
for t in 0 1 2 3 4; do mkdir -p "$work/target$t/Sub" && cp -r "$work/bench" "$work/target$t/Sub/"; done
end=$(date +%s.%N)
echo "cp -r of the same files into 5 targets: $(awk "BEGIN { printf \"%.2f\", $end - $start }") s"
rm -rf "$work"

for preset in windows64 windows; do
  arch=win64
  if [ "$preset" = windows ]; then
    arch=win32
    reason=$(win32_skip_reason)
    if [ -n "$reason" ]; then
      echo "== $preset: skipped: $reason"
      continue
    fi
  fi
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target detection_bench install_bench scan_bench startup_bench >/dev/null
  echo "== $preset (Wine, real back ends)"
  tools/wine-run "$arch" "build/$preset/tests/detection_bench.exe"
  # Start-up to an idle main window, beside a program that only shows a window.
  SETUP_WINE_WITH="$PWD/build/$preset/src/Setup.exe $PWD/build/$preset/tests/floor_window.exe" \
    SETUP_WINE_PREFIX_NAME=bench SETUP_WINE_DISPLAY=1 \
    tools/wine-run "$arch" "build/$preset/tests/startup_bench.exe"
  # It also copies through the real progress window, which needs a display.
  SETUP_WINE_PREFIX_NAME=bench SETUP_WINE_DISPLAY=1 tools/wine-run "$arch" "build/$preset/tests/install_bench.exe"

  # The same tree, made natively inside a prefix of the benchmark's own (its
  # windows need a display, whose end stops the prefix's Wine server).
  prefix=$WINE_DIR/bench-$arch
  [ -f "$prefix/.ready" ] || fresh_prefix "$prefix"
  build/bench/tests/scan_bench make "$prefix/drive_c/scan-tree"
  status=0
  SETUP_WINE_PREFIX_NAME=bench SETUP_WINE_DISPLAY=1 tools/wine-run "$arch" "build/$preset/tests/scan_bench.exe" \
    'C:\scan-tree\' || status=$?
  rm -rf "$prefix/drive_c/scan-tree"
  [ "$status" = 0 ] || exit "$status"
done
