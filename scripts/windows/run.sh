#!/usr/bin/env bash
# Starts the Windows build of Kovadle under Wine, from a fresh unpack of the package
# (so a missing DLL or plugin shows), in a throwaway Wine prefix. Without a display it
# starts a virtual one (Xvfb).
#
#   scripts/windows/run.sh                           until the window is closed
#   scripts/windows/run.sh --screenshot shot.png     waits for the window, saves a
#                                                    picture of the screen, closes it
# KOVADLE_WIN_SHOT_WAIT  seconds to wait after the window appears (default 5)
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
shot=""
if [ "${1:-}" = "--screenshot" ]; then shot=$(realpath -m "${2:?file name for the screenshot}"); fi

say() { printf '[run %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

WINE=$(command -v wine64 || command -v wine || true)
[ -n "$WINE" ] || WINE=/usr/lib/wine/wine64
WINESERVER=$(command -v wineserver || true)
[ -n "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

zip_path=$("$ROOT/scripts/windows/package.sh" zip | cut -d' ' -f1)
WORK=$(mktemp -d "${TMPDIR:-/tmp}/kovadle-wine-run-XXXXXX")
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  "$WINESERVER" -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

if [ -n "$shot" ] || [ -z "${DISPLAY:-}" ]; then
  # A display number nobody uses.
  display=77
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display"
  sleep 2
fi

mkdir -p "$WORK/app"
(cd "$WORK/app" && unzip -q "$zip_path")
say "making the Wine prefix"
"$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 || true
# As in the tests: the host's root (Z:) is never chosen for the default output folder.
"$WINE" reg add 'HKLM\Software\Wine\Drives' /v 'z:' /t REG_SZ /d network /f >>"$WORK/wineboot.log" 2>&1
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w >/dev/null 2>&1 || true

say "starting kovadle.exe"
cd "$WORK/app"
"$WINE" ./kovadle.exe >"$WORK/kovadle.log" 2>&1 &
app_pid=$!
if [ -z "$shot" ]; then
  wait "$app_pid" || true
  app_pid=""
  exit 0
fi

for _ in $(seq 120); do
  if xdotool search --name "Kovadle" >/dev/null 2>&1; then break; fi
  if ! kill -0 "$app_pid" 2>/dev/null; then
    echo "kovadle.exe ended before its window appeared:" >&2
    cat "$WORK/kovadle.log" >&2
    exit 1
  fi
  sleep 1
done
sleep "${KOVADLE_WIN_SHOT_WAIT:-5}"
import -window root "$shot"
say "screenshot: $shot"
xdotool search --name "Kovadle" | head -n 20 | while read -r id; do echo "  window $id: $(xdotool getwindowname "$id")"; done
