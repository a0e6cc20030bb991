#!/usr/bin/env bash
# Benchmarks (timings, not tests): natively in an optimised build without
# sanitizers on the portable back ends, and under Wine on the real ones.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
tools/install-deps.sh

[ -f build/bench/build.ninja ] || cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target detection_bench >/dev/null
echo "== native (portable back ends, Release)"
build/bench/tests/detection_bench

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
  cmake --build --preset "$preset" --target detection_bench >/dev/null
  echo "== $preset (Wine, real back ends)"
  tools/wine-run "$arch" "build/$preset/tests/detection_bench.exe"
done
