#!/usr/bin/env bash
# The Windows installer's round trip under Wine, in a new prefix inside FOLDER, as a
# user (or the program's new-version offer) runs it:
#   - silent install for all users: the zip's files in Program Files, shortcuts, the
#     Add/Remove Programs entry;
#   - the installed kovadle.exe opens its window (a screenshot is kept);
#   - a silent reinstall while it runs changes nothing and says so (exit code 2);
#   - the installed kovadle-cli.exe describes a clip, started from another folder;
#   - a silent update over the installation;
#   - a newer installer waiting in the program's data folder is offered at start, and
#     Install starts it and ends the program;
#   - the silent uninstall that the Add/Remove Programs entry names: everything
#     installed is gone, the user's data (the per-user folder the program made) stays;
#   - silent install for the current user into a folder with spaces and Chinese
#     characters (/D=), and its uninstall, which leaves a file the user put there.
# Run by scripts/windows/test.sh (which bounds it); needs build-win/out.
#
#   scripts/windows/check-installer.sh FOLDER SCREENSHOT
set -euo pipefail
SCRIPTS=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$SCRIPTS/../.." && pwd)
dir=$1
shot=$2
# shellcheck source=wine-lib.sh
source "$SCRIPTS/wine-lib.sh"
# The installed program on its own: on the screen, with only its own DLLs and plugins.
unset WINEQT_QPA_PLATFORM WINEQT_QPA_FONTDIR WINEQT_PLUGIN_PATH WINEPATH

for tool in makensis Xvfb xdotool import unzip ffmpeg; do
  command -v "$tool" >/dev/null || {
    echo "SKIPPED: $tool is missing (scripts/windows/deps.sh installs it)"
    exit 77
  }
done

failures=0
ok() { echo "ok: $*"; }
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}
log="$dir/installer.log"
mkdir -p "$dir"
: >"$log"

# run LIMIT WHAT COMMAND...: a bounded step whose output goes to the log; 124 is named.
run() {
  local limit=$1 what=$2 status=0
  shift 2
  echo "+ $*" >>"$log"
  bounded "$limit" "$log" "$log" "$@" || status=$?
  if [ "$status" -eq 124 ]; then echo "FAILED: $what did not end in $limit s (hung)"; fi
  return "$status"
}

# The value NAME (a string) of the registry key KEY, or nothing. Exported, because
# reg query writes in the ANSI code page, which loses Chinese.
reg_value() {
  local file="$dir/export.reg"
  rm -f "$file"
  bounded 60 "$log" "$log" "$WINE" reg export "$1" "$(winpath "$file")" /y || return 0
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' | sed -n "s/^\"$2\"=\"\(.*\)\"$/\1/p" | sed -E 's/\\(.)/\1/g'
}
reg_key_exists() {
  bounded 60 /dev/null /dev/null "$WINE" reg query "$1"
}

# Runs an uninstall string from the registry as Windows does ("C:\...\uninstall.exe"
# /Mode /S), then waits for the uninstaller's copy (it starts one from the temporary
# folder and ends at once) until UNINSTALLER is gone.
uninstall() {
  local command=$1 uninstaller=$2
  [[ $command =~ ^\"([^\"]+)\"(.*)$ ]] || {
    fail "uninstall string not understood: $command"
    return 1
  }
  local exe=${BASH_REMATCH[1]} args
  read -r -a args <<<"${BASH_REMATCH[2]}"
  run 120 "the uninstaller" "$WINE" "$exe" "${args[@]}" || {
    fail "the uninstaller failed"
    return 1
  }
  for _ in $(seq 120); do
    [ -e "$uninstaller" ] || break
    sleep 1
  done
  [ ! -e "$uninstaller" ] || fail "the uninstaller did not finish in 120 s"
  # Its copy in the temporary folder ends by itself.
  end_wine_server "$log" || fail "the Wine server did not end after the uninstall"
}

# Compares the installed files with the zip's (plus the uninstaller).
expect_zip_tree() {
  local folder=$1 what=$2
  diff <( (unzip -Z1 "$zip" && echo uninstall.exe) | LC_ALL=C sort) \
    <(cd "$folder" && find . -type f -printf '%P\n' | LC_ALL=C sort) >"$dir/tree.diff" 2>&1 &&
    ok "$what: the zip's files and the uninstaller" ||
    fail "$what: the installed files differ from the zip's: $(excerpt "$dir/tree.diff")"
}

# wait_window PATTERN [PID]: the first window whose title matches, waiting up to 120 s
# (and only while the process PID runs, when given).
wait_window() {
  local window
  for _ in $(seq 120); do
    window=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    if [ -n "$window" ]; then
      echo "$window"
      return 0
    fi
    if [ -n "${2:-}" ] && ! kill -0 "$2" 2>/dev/null; then return 1; fi
    sleep 1
  done
  return 1
}

# Starts an installed program of the prefix in a group of its own, as $app: a shell
# that waits for it, so that its end by the Wine server is no job killed by a signal.
start_app() {
  setsid bash -c '"$@"; exit $?' - "$WINE" "$1" </dev/null >"$2" 2>&1 &
  app=$!
  if [ -n "${KOVADLE_WIN_GROUPS:-}" ]; then echo "$app" >>"$KOVADLE_WIN_GROUPS"; fi
}

# Ends the prefix's Wine server and with it $app.
end_app() {
  end_wine_server "$log" || fail "the Wine server did not end after $1"
  kill -KILL -- "-$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  if [ -n "${KOVADLE_WIN_GROUPS:-}" ]; then sed -i "/^$app\$/d" "$KOVADLE_WIN_GROUPS"; fi
  app=""
}

# True when $app ends within $1 seconds.
app_ends_within() {
  local timer ended=""
  sleep "$1" &
  timer=$!
  wait -n -p ended "$app" "$timer" || true
  kill "$timer" 2>/dev/null || true
  wait "$timer" 2>/dev/null || true
  [ "$ended" = "$app" ]
}

# The packages as package.sh makes them; made again unless newer than the program,
# the installer's script and package.sh (the installer alone takes a minute or two).
version=$(sed -n 's/^project(Kovadle VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
zip="$ROOT/build-win/Kovadle-$version-win64.zip"
setup="$ROOT/build-win/Kovadle-Setup-$version.exe"
if [ -f "$zip" ] && [ -f "$setup" ] && [ -z "$(find "$ROOT/build-win/out" "$ROOT/packaging/windows" \
  "$SCRIPTS/package.sh" -newer "$zip" -print -quit; find "$ROOT/build-win/out" "$ROOT/packaging/windows" \
  "$SCRIPTS/package.sh" -newer "$setup" -print -quit)" ]; then
  echo "packages up to date: $(basename "$zip"), $(basename "$setup")"
else
  echo "packing the program"
  "$SCRIPTS/package.sh" || {
    fail "scripts/windows/package.sh failed"
    exit 1
  }
fi

export WINEPREFIX="$dir/prefix"
echo "making the Wine prefix"
make_prefix "$WINEPREFIX" "$log" || {
  fail "could not make the Wine prefix (see $log)"
  exit 1
}
drive_c="$WINEPREFIX/drive_c"
user=""
for home in "$drive_c"/users/*; do
  [ "$(basename "$home")" = Public ] || user=$(basename "$home")
done
user_home="$drive_c/users/$user"
# The installer as a download would lie: in a folder without spaces, for cmd's sake.
mkdir -p "$drive_c/setup"
cp "$setup" "$drive_c/setup/"
setup_windows="C:\\setup\\$(basename "$setup")"

clip="$dir/clip 片段.mp4"
run 120 "making the clip" ffmpeg -v error -f lavfi -i testsrc2=size=640x360:rate=24:duration=1 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p "$clip" || fail "could not make the clip"

display_file="$dir/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$display_file" >"$dir/xvfb.log" 2>&1 &
xvfb=$!
app=""
cleanup() {
  if [ -n "$app" ]; then kill -KILL -- "-$app" 2>/dev/null || true; fi
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 30); do
  [ -s "$display_file" ] && break
  sleep 1
done
[ -s "$display_file" ] || {
  fail "Xvfb did not start: $(excerpt "$dir/xvfb.log")"
  exit 1
}
DISPLAY=":$(head -n 1 "$display_file")"
export DISPLAY

echo "— for all users"
machine_dir="$drive_c/Program Files/Kovadle"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kovadle'
run 300 "the silent install" "$WINE" "$setup_windows" /S && ok "silent install: exit code 0" ||
  fail "silent install: exit code $?"
expect_zip_tree "$machine_dir" "for all users"
for link in "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kovadle.lnk" \
  "$drive_c/users/Public/Desktop/Kovadle.lnk"; do
  [ -f "$link" ] && ok "shortcut ${link#"$drive_c"/}" || fail "no shortcut ${link#"$drive_c"/}"
done
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
[ "$quiet" = '"C:\Program Files\Kovadle\uninstall.exe" /AllUsers /S' ] &&
  ok "Add/Remove Programs entry: $quiet" || fail "Add/Remove Programs entry, quiet uninstall: '$quiet'"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$(basename "$setup" .exe | sed 's/^Kovadle-Setup-//')" ] ||
  fail "Add/Remove Programs entry: DisplayVersion differs from the installer's version"

echo "starting the installed kovadle.exe"
start_app 'C:\Program Files\Kovadle\kovadle.exe' "$dir/kovadle.log"
if window=$(wait_window '^Kovadle' "$app"); then
  ok "the installed kovadle.exe opened its window \"$(xdotool getwindowname "$window")\""
  # Time to draw its tables and texts.
  sleep 5
  import -window root "$shot" && echo "screenshot: $shot"

  code=0
  run 120 "the reinstall while the program runs" "$WINE" "$setup_windows" /S || code=$?
  [ "$code" -eq 2 ] && ok "reinstall while it runs: refused (exit code 2)" ||
    fail "reinstall while it runs: exit code $code, expected 2"
  expect_zip_tree "$machine_dir" "after the refused reinstall"
else
  fail "the installed kovadle.exe showed no window in 120 s: $(excerpt "$dir/kovadle.log")"
fi
end_app "the window"

data_dir="$user_home/AppData/Local/kovadle"
[ -d "$data_dir" ] && ok "the program made its data folder" || fail "no data folder $data_dir"

(cd "$dir" && bounded 300 "$dir/cli.out" "$dir/cli.err" "$WINE" 'C:\Program Files\Kovadle\kovadle-cli.exe' \
  info "$(winpath "$clip")") && code=0 || code=$?
if [ "$code" -eq 0 ] && tr -d '\r' <"$dir/cli.out" | grep -qx 'ResolutionClass: 480p'; then
  ok "the installed kovadle-cli.exe describes the clip"
else
  fail "the installed kovadle-cli.exe info: exit code $code: $(excerpt "$dir/cli.out" "$dir/cli.err")"
fi
end_wine_server "$log" || fail "the Wine server did not end after kovadle-cli.exe"

run 300 "the update" "$WINE" "$setup_windows" /S && ok "silent update over it: exit code 0" ||
  fail "silent update: exit code $?"
expect_zip_tree "$machine_dir" "after the update"

echo "the new-version offer"
# A verified installer of a newer version waiting in the data folder: the program
# offers it at start, and Install starts it and ends the program.
mkdir -p "$data_dir/appdata"
cp "$setup" "$data_dir/appdata/installer_9.9.9.exe"
printf '9.9.9,false' >"$data_dir/appdata/installer_info.dat"
start_app 'C:\Program Files\Kovadle\kovadle.exe' "$dir/kovadle-offer.log"
if window=$(wait_window '发现新版本|New version available' "$app"); then
  xdotool windowfocus --sync "$window" && xdotool key Return
  if app_ends_within 60; then
    ok "Install on the offer ended the program"
    if installer_window=$(wait_window '^Kovadle (安装|Setup)'); then
      ok "and started the installer: \"$(xdotool getwindowname "$installer_window")\""
    else
      fail "Install on the offer did not start the installer"
    fi
  else
    fail "Install on the offer did not end the program in 60 s"
  fi
else
  fail "the program did not offer the waiting installer: $(excerpt "$dir/kovadle-offer.log")"
fi
end_app "the offer"

quiet=$(reg_value "$uninstall_key" QuietUninstallString)
uninstall "$quiet" "$machine_dir/uninstall.exe"
[ ! -e "$machine_dir" ] && ok "uninstalled: the install folder is gone" ||
  fail "uninstalled, yet left: $(cd "$machine_dir" && find . | head -n 20 | tr '\n' ' ')"
for link in "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kovadle.lnk" \
  "$drive_c/users/Public/Desktop/Kovadle.lnk"; do
  [ ! -e "$link" ] || fail "uninstalled, yet the shortcut ${link#"$drive_c"/} is left"
done
for key in "$uninstall_key" 'HKLM\Software\Kovadle'; do
  ! reg_key_exists "$key" || fail "uninstalled, yet the registry key $key is left"
done
[ -d "$data_dir" ] && ok "the user's data folder stays" || fail "the uninstall removed the user's data $data_dir"

echo "— for the current user, into a folder of its choosing"
user_dir="$user_home/我的 程序/Kovadle 视频"
user_dir_windows="C:\\users\\$user\\我的 程序\\Kovadle 视频"
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kovadle'
# /D= is read from the raw command line, unquoted: cmd passes it on as written.
run 300 "the per-user install" "$WINE" cmd /c "$setup_windows /S /CurrentUser /D=$user_dir_windows" &&
  ok "per-user silent install: exit code 0" || fail "per-user silent install: exit code $?"
expect_zip_tree "$user_dir" "for the current user"
for link in "$user_home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kovadle.lnk" \
  "$user_home/Desktop/Kovadle.lnk"; do
  [ -f "$link" ] && ok "shortcut ${link#"$drive_c"/}" || fail "no shortcut ${link#"$drive_c"/}"
done
! reg_key_exists "$uninstall_key" || fail "a per-user install wrote the machine's Add/Remove Programs entry"
echo "notes" >"$user_dir/我的笔记.txt"
quiet=$(reg_value "$user_key" QuietUninstallString)
[ "$quiet" = "\"$user_dir_windows\\uninstall.exe\" /CurrentUser /S" ] &&
  ok "per-user Add/Remove Programs entry: $quiet" || fail "per-user quiet uninstall: '$quiet'"
uninstall "$quiet" "$user_dir/uninstall.exe"
left=$(cd "$user_dir" && find . -mindepth 1 -printf '%P\n')
[ "$left" = "我的笔记.txt" ] && ok "uninstalled: only the user's own file is left in the folder" ||
  fail "per-user uninstall left: ${left:0:300}"
for key in "$user_key" 'HKCU\Software\Kovadle'; do
  ! reg_key_exists "$key" || fail "uninstalled, yet the registry key $key is left"
done
for link in "$user_home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kovadle.lnk" \
  "$user_home/Desktop/Kovadle.lnk"; do
  [ ! -e "$link" ] || fail "uninstalled, yet the shortcut ${link#"$drive_c"/} is left"
done

end_wine_server "$log" || fail "the Wine server did not end"
if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed (the Wine steps' output: installer-wine.log beside this log)"
  exit 1
fi
echo "every check passed"
