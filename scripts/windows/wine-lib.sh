# shellcheck shell=bash
# Sourced by the Windows lane's scripts: Wine's programs, a runner with a time-out that
# never waits on a pipe, the end of a prefix's Wine server, and a throwaway prefix.
#
# Wine starts service processes (services.exe, rpcss.exe, explorer.exe /desktop, ...)
# that inherit the standard handles of the program that woke them and outlive it, so a
# pipe handed to a Wine program may stay open long after the program ended. Everything
# here gives Wine files instead, and ends the prefix's Wine server after use.

WINE=$(command -v wine64 || command -v wine || true)
[ -n "$WINE" ] || WINE=/usr/lib/wine/wine64
WINESERVER=$(command -v wineserver || true)
[ -n "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

# Quiet Wine, no Mono or Gecko prompts, and a UTF-8 locale: Wine converts the program's
# arguments and the host's file names with the locale's character set.
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8

# The start of the files' text on one line, for a message.
excerpt() {
  local text
  text=$(cat "$@" 2>/dev/null | tr -d '\r' | tr '\n' ' ')
  printf '%s' "${text:0:${EXCERPT_LENGTH:-300}}"
}

# The Windows form of a host path (Z: is the host's root).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# bounded [--show] LIMIT OUT ERR COMMAND...: runs COMMAND in a process group of its own, with
# standard input from /dev/null and its output appended to the files OUT and ERR (may
# be the same file). After LIMIT seconds the group is ended (TERM, then KILL). Returns
# COMMAND's status, 124 when it was ended. The group's id is appended to the file
# $KOVADLE_WIN_GROUPS when that is set, so whoever runs the lane can end it.
# --show copies OUT to standard output while it grows.
bounded() {
  local show=0
  if [ "$1" = --show ]; then
    show=1
    shift
  fi
  local limit=$1 out=$2 err=$3
  shift 3
  # Made here, not by the child: the tail below must find OUT at once.
  : >>"$out"
  : >>"$err"
  # Not a group leader in the background, so setsid makes the group without a fork:
  # the group's id is the pid.
  setsid "$@" </dev/null >>"$out" 2>>"$err" &
  local pid=$! timer="" ended="" status=0 shower=""
  if [ -n "${KOVADLE_WIN_GROUPS:-}" ]; then echo "$pid" >>"$KOVADLE_WIN_GROUPS"; fi
  if [ "$show" = 1 ]; then
    tail -n +1 -f --pid="$pid" "$out" 2>/dev/null | sed -u 's/\r$//' &
    shower=$!
  fi
  sleep "$limit" &
  timer=$!
  wait -n -p ended "$pid" "$timer" || status=$?
  if [ "$ended" = "$pid" ]; then
    kill "$timer" 2>/dev/null || true
    wait "$timer" 2>/dev/null || true
    # What the command left behind in its group goes with it.
    kill -KILL -- "-$pid" 2>/dev/null || true
  else
    kill -TERM -- "-$pid" 2>/dev/null || true
    for _ in 1 2 3 4 5; do
      kill -0 -- "-$pid" 2>/dev/null || break
      sleep 1
    done
    kill -KILL -- "-$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    status=124
  fi
  # tail --pid ends within a second of the command.
  if [ -n "$shower" ]; then wait "$shower" 2>/dev/null || true; fi
  # Gone: its number may come to another process's group.
  if [ -n "${KOVADLE_WIN_GROUPS:-}" ]; then sed -i "/^$pid\$/d" "$KOVADLE_WIN_GROUPS"; fi
  return "$status"
}

# Ends the Wine server of $WINEPREFIX and every Windows process of that prefix, and
# waits (bounded) until it is gone. 1 when it would not end.
end_wine_server() {
  : "${WINEPREFIX:?no Wine prefix set}"
  local log=${1:-/dev/null}
  [ -d "$WINEPREFIX" ] || return 0
  # -k fails when no server runs: nothing to end.
  bounded 30 "$log" "$log" "$WINESERVER" -k || true
  bounded 30 "$log" "$log" "$WINESERVER" -w
}

# make_prefix FOLDER LOG: a new 64-bit prefix whose Z: (the host's root) is a network
# drive, so the program never picks it as the fixed drive for its default output folder.
make_prefix() {
  local prefix=$1 log=$2
  WINEPREFIX=$prefix bounded 300 "$log" "$log" "$WINE" wineboot --init || return 1
  WINEPREFIX=$prefix bounded 60 "$log" "$log" "$WINE" reg add 'HKLM\Software\Wine\Drives' \
    /v 'z:' /t REG_SZ /d network /f || return 1
  WINEPREFIX=$prefix end_wine_server "$log"
}
