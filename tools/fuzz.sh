#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and
# runs each for SECONDS (default 60) on a copy of its seed corpus in
# tests/fuzz/corpus/<target>/. An input that crashes a target is kept in
# build/fuzz/findings/ and fails the run: add it to the corpus once mended.
#   tools/fuzz.sh [SECONDS [TARGET...]]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
[ $# -gt 0 ] && shift

if ! command -v clang++ >/dev/null 2>&1 || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: clang libclang-rt-14-dev"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq clang libclang-rt-14-dev >/dev/null
fi
command -v ninja >/dev/null 2>&1 || tools/install-deps.sh

build=build/fuzz
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DSETUP_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/tests/fuzz/*_fuzz; do targets+=("$(basename "$program")"); done
fi
mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
  work="$build/corpus/$target"
  mkdir -p "$work"
  [ -d "tests/fuzz/corpus/$target" ] && cp -n "tests/fuzz/corpus/$target"/* "$work"/ 2>/dev/null || true
  log="$build/$target.log"
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=4096 \
      -artifact_prefix="$build/findings/$target-" "$work" >"$log" 2>&1; then
    result=clean
  else
    result="FOUND (see $log and $build/findings/)"
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  echo "$target: $runs executions in ${seconds} s, $result"
done
exit $status
