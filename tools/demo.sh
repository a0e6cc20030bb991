#!/usr/bin/env bash
# Builds Setup.exe and runs the demo package (demo/package) on the demo
# machine (demo/machine.reg, demo/machine64.reg and demo/drive_c) under Wine.
# With a display it opens the real windows for you to use; without one it
# plays the user through the windows, prints what it saw and saves
# screenshots in build/demo/screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh

tools/install-deps.sh

# The shipped 32-bit build where this machine can run it, else the 64-bit one.
if can_run_win32; then preset=windows; arch=win32; else preset=windows64; arch=win64; fi
[ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Setup setup_demo_driver >/dev/null
echo "Using the $preset build ($arch)."

prefix=$WINE_DIR/demo
fresh_prefix "$prefix"
trap 'wine_stop "$prefix"' EXIT
package=$prefix/drive_c/Demo
mkdir -p "$package"
cp -r demo/package/. "$package/"
cp "build/$preset/src/Setup.exe" "$package/"
cp demo/machine.reg "$prefix/drive_c/machine.reg"
# Files of the demo machine (host preference files and the like), by their place on drive C:.
[ -d demo/drive_c ] && cp -r demo/drive_c/. "$prefix/drive_c/"
cp demo/machine64.reg "$prefix/drive_c/machine64.reg"
# The demo machine's registry, as a 32-bit program sees it, then today's
# 64-bit hosts in the 64-bit view.
(cd "$prefix/drive_c" && wine64_in "$prefix" reg import 'C:\machine.reg' /reg:32 &&
  wine64_in "$prefix" reg import 'C:\machine64.reg' /reg:64) >"$WINE_DIR/demo-reg.log" 2>&1
# The Wine server of that step belongs to no display; the program needs one that does.
wine_stop "$prefix"

if [ "$arch" = win32 ]; then loader=(wine); else loader=(env WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64); fi
wine_env=(env WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=")

if [ -n "${DISPLAY:-}" ] && [ -z "${SETUP_DEMO_UNATTENDED:-}" ]; then
  echo "Starting C:\\Demo\\Setup.exe on your display..."
  (cd "$package" && "${wine_env[@]}" "${loader[@]}" 'C:\Demo\Setup.exe') >"$WINE_DIR/demo-run.log" 2>&1
  exit 0
fi

shots=build/demo/screenshots
rm -rf "$shots"
mkdir -p "$shots"
cp "build/$preset/tests/setup_demo_driver.exe" "$prefix/drive_c/"
report=$WINE_DIR/demo-report.txt
status=0
with_display() {
  if [ -n "${DISPLAY:-}" ]; then "$@"; else xvfb-run -a -s "-screen 0 1024x768x24" "$@"; fi
}
(cd "$prefix/drive_c" &&
  with_display "${wine_env[@]}" "${loader[@]}" 'C:\setup_demo_driver.exe' 'C:\Demo' 'C:\shots') >"$report" 2>&1 ||
  status=$?
cat "$report"
for bmp in "$prefix"/drive_c/shots/*.bmp; do
  [ -f "$bmp" ] && python3 tools/bmp2png.py "$bmp" "$shots/$(basename "${bmp%.bmp}").png"
done
echo "Screenshots: $(ls "$shots" 2>/dev/null | tr '\n' ' ')(in $shots)"
exit $status
