#!/usr/bin/env bash
# Runs the Windows build under Wine: every test program of build-win/out (with the real
# encoder.exe and mediainfo.exe, on Qt's offscreen platform), kovadle-cli.exe on a
# generated clip (check-cli.sh) and the installer's round trip (check-installer.sh).
# Everything happens in a temporary folder with new Wine prefixes; the tests' per-user
# data and files go with it. Needs scripts/windows/build.sh first.
#
#   scripts/windows/test.sh                       everything
#   scripts/windows/test.sh test_util --gtest_filter='OSUtil*'
#   scripts/windows/test.sh kovadle-cli           only the front end's check
#   scripts/windows/test.sh installer             only the installer's round trip
#
# KOVADLE_WIN_TEST_TIMEOUT  seconds one program or check may take (default 900)
# KOVADLE_WIN_RUN_TIMEOUT   seconds the whole run may take (default 3600)
#
# The run never waits on a pipe that Wine's processes can hold: each program writes to
# a file (shown as it grows), the prefix's Wine server is ended after each one, and each
# has a time-out. The run itself works in a process group of its own, watched from here:
# when the whole run takes too long, or on Ctrl+C, that group, every group it started
# and the prefixes' Wine servers are ended, and what ran is reported. Every program
# ends as passed, failed, timed out, skipped or not run. Exit code 0 when none failed or
# timed out. The logs of the last run stay in build-win/test-logs, the screenshot of
# the installed window in build-win/test-installed-window.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
OUT="$ROOT/build-win/out"
SCRIPTS="$ROOT/scripts/windows"
TIMEOUT=${KOVADLE_WIN_TEST_TIMEOUT:-900}
RUN_TIMEOUT=${KOVADLE_WIN_RUN_TIMEOUT:-3600}
# shellcheck source=wine-lib.sh
source "$SCRIPTS/wine-lib.sh"

say() { printf '[test %s] %s\n' "$(date +%H:%M:%S)" "$*"; }

# One line per program in $WORK/results: name, outcome, seconds, details.
record() { printf '%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$4" >>"$WORK/results"; }

# ---------------------------------------------------------------------------------
# The run itself, in its own process group; its output goes to $WORK/run.log.
inner() {
  local step name started status detail line prefix="$WORK/prefix"
  export WINEPREFIX="$prefix"
  # Wine keeps the host's QT_* variables from Windows programs (they would point a
  # Windows Qt at Linux plugins); WINEQT_* reach them as QT_*.
  export WINEQT_QPA_PLATFORM=offscreen
  # There Qt knows no system fonts, only those of one folder: without any, widgets
  # draw no text at all.
  WINEQT_QPA_FONTDIR=$(winpath /usr/share/fonts/truetype/dejavu)
  export WINEQT_QPA_FONTDIR
  # A copy of a test helper made in another folder still finds the DLLs and plugins here,
  # and window tests that run "ffmpeg" by name, as on Linux, find the encoder.
  mkdir -p "$WORK/tools"
  cp "$OUT/bin/encoder.exe" "$WORK/tools/ffmpeg.exe"
  cp "$OUT/bin/mediainfo.exe" "$WORK/tools/ffprobe.exe"
  WINEPATH="$(winpath "$OUT");$(winpath "$WORK/tools")"
  WINEQT_PLUGIN_PATH=$(winpath "$OUT")
  export WINEPATH WINEQT_PLUGIN_PATH
  # openssl.exe (the HTTPS tests' certificate) would look for its configuration at the
  # path it was built for; it needs none.
  : >"$WORK/tools/openssl.cnf"
  OPENSSL_CONF="$(winpath "$WORK/tools")\\openssl.cnf"
  export OPENSSL_CONF
  # The program reports to its backend; here only to a port on this machine where
  # nothing listens.
  export KOVADLE_BACKEND_URL="https://127.0.0.1:9/KovadleBackend/v1"
  unset DISPLAY WAYLAND_DISPLAY
  # As under CTest: the tests run in the folder of the executables.
  cd "$OUT"

  local needs_prefix=0
  while IFS= read -r step; do [ "$step" = installer ] || needs_prefix=1; done <"$WORK/planned"
  if [ "$needs_prefix" = 1 ]; then
    say "making the Wine prefix in $prefix"
    started=$SECONDS
    printf 'wine prefix\t%s\n' "$(date +%s)" >"$WORK/current"
    if ! make_prefix "$prefix" "$WORK/logs/prefix.log"; then
      say "the Wine prefix could not be made (see build-win/test-logs/prefix.log)"
      record "wine prefix" failed $((SECONDS - started)) "wineboot failed or hung"
      return 1
    fi
    say "prefix ready in $((SECONDS - started)) s"
  fi

  while IFS= read -r step; do
    name=${step%.exe}
    printf '%s\t%s\n' "$name" "$(date +%s)" >"$WORK/current"
    say "$name"
    started=$SECONDS
    status=0
    detail=""
    case $name in
      kovadle-cli)
        mkdir -p "$WORK/cli"
        bounded --show "$TIMEOUT" "$WORK/logs/$name.log" "$WORK/logs/$name.log" \
          bash "$SCRIPTS/check-cli.sh" "$WORK/cli" || status=$?
        ;;
      installer)
        bounded --show "$TIMEOUT" "$WORK/logs/$name.log" "$WORK/logs/$name.log" \
          bash "$SCRIPTS/check-installer.sh" "$WORK/installer" "$ROOT/build-win/test-installed-window.png" ||
          status=$?
        if [ -f "$WORK/installer/installer.log" ]; then cp "$WORK/installer/installer.log" "$WORK/logs/installer-wine.log"; fi
        # It works in a prefix of its own.
        WINEPREFIX="$WORK/installer/prefix" end_wine_server || true
        ;;
      *)
        bounded --show "$TIMEOUT" "$WORK/logs/$name.log" "$WORK/logs/$name.log" \
          "$WINE" "$OUT/$step" --gtest_color=no "$@" || status=$?
        detail=$(gtest_counts "$WORK/logs/$name.log")
        ;;
    esac
    # The Wine server of the prefix, and everything of the program that still runs.
    if ! end_wine_server "$WORK/logs/wineserver.log"; then
      [ "$status" -ne 0 ] || status=1
      detail="${detail:+$detail; }the Wine server would not end"
    fi
    local outcome
    case $status in
      0) outcome=passed ;;
      77) outcome=skipped ;;
      124) outcome="timed out" ;;
      *) outcome=failed ;;
    esac
    if [[ $name == test_* ]] && [ "$status" -eq 0 ] && [[ $detail != *" tests ran"* ]]; then
      # Ended well, yet GoogleTest never said it ran: it did not get that far.
      outcome=failed
      detail="no test ran"
    fi
    if [ "$outcome" = failed ] && [[ $name != test_* ]]; then
      detail=""
      while IFS= read -r line; do detail="${detail:+$detail; }${line:0:160}"; done \
        < <(grep -m 3 '^FAILED' "$WORK/logs/$name.log" || true)
    fi
    [ "$outcome" = "timed out" ] && detail="${detail:+$detail; }ended after $TIMEOUT s"
    [ "$outcome" = failed ] && [ "$status" -ne 1 ] && detail="${detail:+$detail; }exit code $status"
    [ "$outcome" = skipped ] && detail=$(grep -m1 '^SKIPPED' "$WORK/logs/$name.log" || true)
    record "$name" "$outcome" $((SECONDS - started)) "$detail"
    say "$name: $outcome in $((SECONDS - started)) s"
  done <"$WORK/planned"
  : >"$WORK/current"
}

# GoogleTest's totals from its output: "N tests ran, P passed, S skipped[, failed: A.b C.d]".
gtest_counts() {
  local log=$1 ran ok gone failed
  ran=$(tr -d '\r' <"$log" | sed -n 's/^\[==========\] \([0-9]*\) tests\? from .* ran\..*/\1/p' | tail -n 1)
  [ -n "$ran" ] || return 0
  ok=$(tr -d '\r' <"$log" | sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' | tail -n 1)
  gone=$(tr -d '\r' <"$log" | sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?, listed below.*/\1/p' | tail -n 1)
  failed=$(tr -d '\r' <"$log" | sed -n 's/^\[  FAILED  \] \([A-Za-z_0-9/]*\.[A-Za-z_0-9/]*\).*/\1/p' | sort -u | paste -sd' ' -)
  printf '%s tests ran, %s passed, %s skipped%s' "$ran" "${ok:-0}" "${gone:-0}" "${failed:+, failed: $failed}"
}

# ---------------------------------------------------------------------------------
# The watcher: starts the run, bounds it, cleans up, reports.
if [ -n "${KOVADLE_WIN_TEST_WORK:-}" ]; then
  WORK=$KOVADLE_WIN_TEST_WORK
  inner "$@"
  exit
fi

[ -x "$WINE" ] || {
  echo "Wine is missing: run scripts/windows/deps.sh" >&2
  exit 1
}
# Qt's offscreen platform draws with these fonts only (WINEQT_QPA_FONTDIR below).
[ -d /usr/share/fonts/truetype/dejavu ] || {
  echo "The DejaVu fonts are missing (fonts-dejavu-core): run scripts/windows/deps.sh" >&2
  exit 1
}
ls "$OUT"/test_*.exe >/dev/null 2>&1 || {
  echo "No Windows test programs in $OUT: run scripts/windows/build.sh" >&2
  exit 1
}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kovadle-wine-XXXXXX")
mkdir -p "$WORK/logs"
: >"$WORK/results"
: >"$WORK/groups"
: >"$WORK/current"
export KOVADLE_WIN_TEST_WORK="$WORK" KOVADLE_WIN_GROUPS="$WORK/groups"
inner_pid=""
tail_pid=""
timer=""

# Ends what the run started: its process group, the groups it started, the Wine servers
# of its prefixes. Only these: nothing is ended by name.
end_run() {
  local group prefix
  for group in $inner_pid $(cat "$WORK/groups"); do kill -TERM -- "-$group" 2>/dev/null || true; done
  sleep 2
  for group in $inner_pid $(cat "$WORK/groups"); do kill -KILL -- "-$group" 2>/dev/null || true; done
  if [ -n "$inner_pid" ]; then wait "$inner_pid" 2>/dev/null || true; fi
  for prefix in "$WORK/prefix" "$WORK/installer/prefix"; do
    if [ -d "$prefix" ]; then KOVADLE_WIN_GROUPS="" WINEPREFIX=$prefix end_wine_server || true; fi
  done
}
cleanup() {
  if [ -n "$timer" ]; then kill "$timer" 2>/dev/null || true; fi
  if [ -n "$tail_pid" ]; then kill "$tail_pid" 2>/dev/null || true; fi
  rm -rf "$ROOT/build-win/test-logs"
  cp -r "$WORK/logs" "$ROOT/build-win/test-logs" 2>/dev/null || true
  cp "$WORK/run.log" "$ROOT/build-win/test-logs/run.log" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

# What is to run, in order.
if [ $# -gt 0 ] && [[ $1 != -* ]]; then
  case $1 in
    kovadle-cli | installer) echo "$1" ;;
    *)
      [ -f "$OUT/$1.exe" ] || {
        echo "No $OUT/$1.exe" >&2
        exit 2
      }
      echo "$1.exe"
      ;;
  esac >"$WORK/planned"
  shift
else
  {
    (cd "$OUT" && ls test_*.exe)
    echo kovadle-cli
    echo installer
  } >"$WORK/planned"
fi

say "Wine run in $WORK (each program at most $TIMEOUT s, the whole run $RUN_TIMEOUT s)"
run_started=$SECONDS
: >"$WORK/run.log"
setsid bash "$0" "$@" </dev/null >"$WORK/run.log" 2>&1 &
inner_pid=$!
tail -n +1 -f --pid="$inner_pid" "$WORK/run.log" &
tail_pid=$!
sleep "$RUN_TIMEOUT" &
timer=$!

stopped=""
trap 'stopped="interrupted"' INT TERM
ended=""
wait -n -p ended "$inner_pid" "$timer" || true
if [ -z "$stopped" ] && [ "$ended" = "$timer" ]; then stopped="the whole run took more than $RUN_TIMEOUT s"; fi
if [ -n "$stopped" ]; then
  end_run
  IFS=$'\t' read -r current since <"$WORK/current" || true
  if [ -n "${current:-}" ]; then
    outcome="timed out"
    [ "$stopped" != interrupted ] || outcome=failed
    record "$current" "$outcome" $(($(date +%s) - since)) "ended: $stopped"
  fi
else
  wait "$inner_pid" 2>/dev/null || true
  inner_pid=""
  # What a program left in a group of its own.
  end_run
fi
trap - INT TERM
# tail --pid ends within a second of the run.
wait "$tail_pid" 2>/dev/null || true
tail_pid=""

# The report: every planned program, with its outcome.
echo
echo "[==========] Windows programs under Wine ($((SECONDS - run_started)) s):"
declare -A counts=()
tests_ran=0 tests_passed=0 tests_skipped=0
while IFS= read -r step; do
  name=${step%.exe}
  line=$(awk -F'\t' -v n="$name" '$1 == n' "$WORK/results" | tail -n 1)
  if [ -z "$line" ]; then
    outcome="not run"
    seconds=""
    detail=${stopped:+"$stopped"}
  else
    IFS=$'\t' read -r _ outcome seconds detail <<<"$line"
  fi
  counts[$outcome]=$((${counts[$outcome]:-0} + 1))
  printf '  %-14s %-10s %6s  %s\n' "$name" "$outcome" "${seconds:+$seconds s}" "$detail"
  if [[ $detail =~ ^([0-9]+)\ tests\ ran,\ ([0-9]+)\ passed,\ ([0-9]+)\ skipped ]]; then
    tests_ran=$((tests_ran + BASH_REMATCH[1]))
    tests_passed=$((tests_passed + BASH_REMATCH[2]))
    tests_skipped=$((tests_skipped + BASH_REMATCH[3]))
  fi
done <"$WORK/planned"
# A line of the wine prefix's own failure, if any.
awk -F'\t' '$1 == "wine prefix" { printf "  %-14s %-10s %6s  %s\n", $1, $2, $3 " s", $4 }' "$WORK/results"
summary=""
for outcome in passed failed "timed out" skipped "not run"; do
  summary="$summary, ${counts[$outcome]:-0} $outcome"
done
echo "[==========] $(wc -l <"$WORK/planned") programs: ${summary#, }"
echo "[==========] GoogleTest: $tests_ran tests ran, $tests_passed passed, $tests_skipped skipped, $((tests_ran - tests_passed - tests_skipped)) failed"
echo "Logs: build-win/test-logs/"
if [ -n "$stopped" ] || [ "${counts[failed]:-0}" -gt 0 ] || [ "${counts[timed out]:-0}" -gt 0 ] ||
  [ "${counts[not run]:-0}" -gt 0 ] || grep -q '^wine prefix' "$WORK/results"; then
  echo "[  FAILED  ]"
  exit 1
fi
echo "[  PASSED  ]"
