#!/usr/bin/env bash
# Runs every Windows test program of build-win/out under Wine, with the real
# encoder.exe and mediainfo.exe, on Qt's offscreen platform, in a throwaway Wine prefix
# inside a temporary folder (the per-user data and temporary files of the tests live
# there and go with it). Needs scripts/windows/build.sh first.
#
#   scripts/windows/test.sh                      every test program
#   scripts/windows/test.sh test_util --gtest_filter='OSUtil*'
set -euo pipefail
cd "$(dirname "$0")/../.."
OUT="$(pwd)/build-win/out"
TIMEOUT=${KOVADLE_WIN_TEST_TIMEOUT:-1800}

say() { printf '[test %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

WINE=$(command -v wine64 || command -v wine || true)
[ -n "$WINE" ] || WINE=/usr/lib/wine/wine64
WINESERVER=$(command -v wineserver || true)
[ -n "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE" ] || {
  echo "Wine is missing: run scripts/windows/deps.sh" >&2
  exit 1
}
ls "$OUT"/test_*.exe >/dev/null 2>&1 || {
  echo "No Windows test programs in $OUT: run scripts/windows/build.sh" >&2
  exit 1
}

programs=()
args=()
if [ $# -gt 0 ] && [[ $1 != -* ]]; then
  programs=("$OUT/$1.exe")
  shift
  args=("$@")
else
  programs=("$OUT"/test_*.exe)
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kovadle-wine-XXXXXX")
export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all WINEARCH=win64
# No Mono or Gecko installer prompts in a prefix made for tests.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine keeps the host's QT_* variables from Windows programs (they would point a Windows
# Qt at Linux plugins); WINEQT_* reach them as QT_*.
export WINEQT_QPA_PLATFORM=offscreen
# A copy of a test helper made in another folder still finds the DLLs and plugins here.
out_windows="Z:${OUT//\//\\}"
# Some window tests run "ffmpeg" from the search path, as on Linux: the encoder under
# that name in a folder of the prefix.
mkdir -p "$WORK/tools"
cp "$OUT/bin/encoder.exe" "$WORK/tools/ffmpeg.exe"
cp "$OUT/bin/mediainfo.exe" "$WORK/tools/ffprobe.exe"
tools_windows="Z:${WORK//\//\\}\\tools"
export WINEPATH="$out_windows;$tools_windows" WINEQT_PLUGIN_PATH="$out_windows"
# openssl.exe (the HTTPS tests' certificate) would look for its configuration at the
# path it was built for; it needs none.
: >"$WORK/tools/openssl.cnf"
export OPENSSL_CONF="$tools_windows\\openssl.cnf"
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT

say "making the Wine prefix in $WINEPREFIX"
started=$SECONDS
"$WINE" wineboot --init >"$WORK/wineboot.log" 2>&1 || true
# Z: is the host's root: declared a network drive, it is never taken as the fixed drive
# with the most free space, so the default output folder stays inside the prefix (C:).
"$WINE" reg add 'HKLM\Software\Wine\Drives' /v 'z:' /t REG_SZ /d network /f >>"$WORK/wineboot.log" 2>&1
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w >/dev/null 2>&1 || true
say "prefix ready in $((SECONDS - started)) s"

total=0
passed=0
skipped=0
failed_tests=()
failed_programs=()
cd "$OUT"
for program in "${programs[@]}"; do
  name=$(basename "$program" .exe)
  log="$WORK/$name.log"
  say "$name"
  program_started=$SECONDS
  set +e
  timeout "$TIMEOUT" "$WINE" "$program" --gtest_color=no "${args[@]}" 2>&1 | tr -d '\r' | tee "$log"
  code=${PIPESTATUS[0]}
  set -e
  ran=$(sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' "$log" | tail -n 1)
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -n 1)
  total=$((total + ${ran:-0}))
  passed=$((passed + ${ok:-0}))
  # A test that skips itself (something optional missing) has not failed.
  gone=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below.*/\1/p' "$log" | tail -n 1)
  skipped=$((skipped + ${gone:-0}))
  while IFS= read -r line; do failed_tests+=("$line"); done < <(sed -n 's/^\[  FAILED  \] \([A-Za-z_0-9]*\.[A-Za-z_0-9]*\).*/\1/p' "$log" | sort -u)
  if [ "$code" -ne 0 ] || [ -z "$ran" ]; then failed_programs+=("$name (exit code $code)"); fi
  say "$name: exit code $code in $((SECONDS - program_started)) s"
done

failed=$((total - passed - skipped))
echo "[==========] $total tests from ${#programs[@]} test programs ran under Wine. ($((SECONDS - started)) s total)"
if [ ${#failed_programs[@]} -gt 0 ]; then
  echo "Programs that failed: ${failed_programs[*]}"
fi
echo "[  PASSED  ] $passed tests."
if [ $skipped -gt 0 ]; then echo "[  SKIPPED ] $skipped tests (see the programs' output for why)."; fi
if [ $failed -gt 0 ] || [ ${#failed_programs[@]} -gt 0 ]; then
  echo "[  FAILED  ] $failed tests, listed below:"
  for test in "${failed_tests[@]}"; do echo "[  FAILED  ] $test"; done
  echo
  echo " $failed FAILED TESTS"
  exit 1
fi
