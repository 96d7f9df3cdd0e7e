#!/bin/sh
# Installs the built program into a temporary prefix and uses it from there as a
# user would: started from another folder, with a home of its own, it must find
# its tools and translations, bring its window up, transcode, and write nothing
# beside the installed files. Then the same install again under DESTDIR.
# Usage: install_test.sh BUILD_DIR
. "$(dirname "$0")/lib.sh"
build=$1
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install: $(cat "$work/install.log")"

expect_link "$prefix/bin/kovadle" ../lib/kovadle/kovadle
expect_link "$prefix/bin/kovadle-cli" ../lib/kovadle/kovadle-cli
for pair in encoder:ffmpeg mediainfo:ffprobe; do
  link=$prefix/lib/kovadle/bin/${pair%:*}
  [ "$(readlink -f "$link")" = "$(readlink -f "$(command -v "${pair#*:}")")" ] ||
    fail "$link does not lead to the system's ${pair#*:}"
done

# A clean environment: no display, no session bus, the single-instance keys in a
# folder of our own, and a backend address where nothing listens.
home=$work/home
elsewhere=$work/elsewhere
mkdir -p "$home" "$elsewhere" "$work/run" "$work/keys"
chmod 700 "$work/run"
# Replaces the calling (sub)shell with the program.
as_user() {
  cd "$elsewhere" && exec env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="$work/run" \
    TMPDIR="$work/keys" QT_QPA_PLATFORM=offscreen KOVADLE_BACKEND_URL=https://127.0.0.1:9/KovadleBackend/v1 "$@"
}
log() { cat "$home"/.local/share/kovadle/applogs/KV.*.log 2>/dev/null; }
logged() { log | grep -qF "$1"; }
window_shown() {
  # Once after the layout in the constructor and once more when show() resizes it.
  logged "ServerLog::background_operation_new_thread, end." &&
    [ "$(log | grep -cF "Widget::relocateGUI end.")" -ge 2 ]
}

touch "$work/stamp"
(as_user "$prefix/bin/kovadle") >"$work/window.out" 2>&1 &
pid=$!
started=$pid
# A missing tool stops the start at a message box nobody answers here, before the
# backend thread starts; so does anything else the start-up check finds missing.
if ! wait_until 60 window_shown; then
  fail "the window did not come up; the end of its log: $(log | tail -5)"
fi
sleep 1
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the window ended with $status after SIGTERM"
# Handled by the event loop: the window was at work.
logged "termination requested by signal 15" || fail "SIGTERM did not reach the running window's loop"
if log | grep -F "not loaded:"; then fail "a translation was not loaded"; fi

ffmpeg -v error -f lavfi -i testsrc2=s=640x360:d=2 -c:v libx264 -pix_fmt yuv420p "$work/clip.mp4" ||
  fail "could not make the clip"
(as_user "$prefix/bin/kovadle-cli" transcode "$work/clip.mp4" --output-dir "$work/out") >"$work/cli.out" 2>&1 </dev/null ||
  fail "kovadle-cli transcode: $(cat "$work/cli.out")"
codec=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of csv=p=0 "$work/out/clip_output.mp4")
[ "$codec" = h264 ] || fail "the output's video is '$codec', not h264"
written=$(find "$prefix" -newer "$work/stamp")
[ -z "$written" ] || fail "the programs wrote beside their installed files: $written"
[ -z "$(ls -A "$elsewhere")" ] || fail "the programs wrote into their working folder: $(ls -A "$elsewhere")"

# DESTDIR: everything lands below it, and nothing at the prefix itself.
target=/opt/kovadle-install-test-$$
[ ! -e "$target" ] || fail "$target exists already"
DESTDIR=$work/stage cmake --install "$build" --prefix "$target" >"$work/stage.log" 2>&1 ||
  fail "cmake --install with DESTDIR: $(cat "$work/stage.log")"
if [ -e "$target" ]; then
  rm -rf "$target"
  fail "the install wrote to $target despite DESTDIR"
fi
expect_link "$work/stage$target/bin/kovadle" ../lib/kovadle/kovadle
expect_link "$work/stage$target/lib/kovadle/bin/encoder" "$(command -v ffmpeg)"
[ -f "$work/stage$target/share/kovadle/translations/qt_cn.qm" ] || fail "no translation under DESTDIR"
echo "installed, started, transcoded and installed again under DESTDIR"
