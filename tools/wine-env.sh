# Shared by the Wine scripts: where the test prefixes live and how Wine is run.
# Source it; it defines functions and changes nothing by itself.

SETUP_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WINE_DIR=${SETUP_WINE_DIR:-$SETUP_ROOT/build/wine}
WINE_TEMPLATE=$WINE_DIR/template

# True when this machine can execute 32-bit x86 code under Wine.
can_run_win32() {
  [ -z "$(win32_skip_reason)" ]
}

# Why the 32-bit build cannot run here (empty when it can).
win32_skip_reason() {
  if [ -n "${SETUP_ASSUME_NO_WIN32:-}" ]; then
    echo "SETUP_ASSUME_NO_WIN32 is set (acting as a machine without 32-bit support)"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "Wine's 32-bit loader (/usr/lib/wine/wine, package wine32:i386) is not installed"
  elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine cannot execute 32-bit x86 code ($(/usr/lib/wine/wine --version 2>&1 | head -n 1))"
  fi
}

# Runs a command with the 64-bit loader in the prefix $1: wine64 PREFIX ARGS...
wine64_in() {
  local prefix=$1
  shift
  WINEPREFIX=$prefix WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    /usr/lib/wine/wine64 "$@"
}

# Runs a 32-bit program in the prefix $1 through the plain loader.
wine32_in() {
  local prefix=$1
  shift
  WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wine "$@"
}

# Stops the Wine server of a prefix and waits for it.
wine_stop() {
  WINEPREFIX=$1 /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$1 /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
}

# Makes the template prefix once: 64-bit, no drive Z: (a drive scan must
# never walk the host), user folders that are plain folders, and no window
# manager wait under Xvfb.
make_template() {
  [ -f "$WINE_TEMPLATE/.ready" ] && return 0
  mkdir -p "$WINE_DIR"
  (
    flock 9
    [ -f "$WINE_TEMPLATE/.ready" ] && exit 0
    rm -rf "$WINE_TEMPLATE"
    echo "Making the Wine test prefix (once, about 15 s)..." >&2
    (cd /tmp && wine64_in "$WINE_TEMPLATE" wineboot -i >"$WINE_DIR/wineboot.log" 2>&1) || {
      cat "$WINE_DIR/wineboot.log" >&2
      exit 1
    }
    cat >"$WINE_DIR/x11.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
    cp "$WINE_DIR/x11.reg" "$WINE_TEMPLATE/drive_c/x11.reg"
    (cd "$WINE_TEMPLATE/drive_c" && wine64_in "$WINE_TEMPLATE" regedit /S 'C:\x11.reg') >/dev/null 2>&1
    rm -f "$WINE_TEMPLATE/drive_c/x11.reg"
    wine_stop "$WINE_TEMPLATE"
    rm -f "$WINE_TEMPLATE/dosdevices/z:"
    for link in "$WINE_TEMPLATE"/drive_c/users/*/*; do
      if [ -L "$link" ]; then
        rm -f "$link"
        mkdir -p "$link"
      fi
    done
    touch "$WINE_TEMPLATE/.ready"
  ) 9>"$WINE_DIR/template.lock"
}

# A fresh prefix at $1, copied from the template: files hard-linked, the
# registry files (which Wine rewrites) copied.
fresh_prefix() {
  local prefix=$1
  make_template || return 1
  wine_stop "$prefix"
  rm -rf "$prefix"
  cp -al "$WINE_TEMPLATE" "$prefix"
  local reg
  for reg in "$prefix"/*.reg; do
    cp --remove-destination "$WINE_TEMPLATE/$(basename "$reg")" "$reg"
  done
}
