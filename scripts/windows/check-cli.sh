#!/usr/bin/env bash
# kovadle-cli.exe under Wine as a user runs it, started from another folder, on a
# clip generated with the host's ffmpeg whose name has a space and Chinese characters:
# the exit codes (2 wrong usage, 1 a missing file, 0 done), `info` describing the
# clip, `transcode` into a new output folder (checked with the host's ffprobe: H.264
# at the planned size), and `jobs` listing the completed job with both paths intact.
# Run by scripts/windows/test.sh (which bounds it, and sets WINEPREFIX); needs
# build-win/out.
#
#   scripts/windows/check-cli.sh FOLDER
set -euo pipefail
SCRIPTS=$(cd "$(dirname "$0")" && pwd)
ROOT=$(cd "$SCRIPTS/../.." && pwd)
dir=$1
# shellcheck source=wine-lib.sh
source "$SCRIPTS/wine-lib.sh"
: "${WINEPREFIX:?no Wine prefix set}"
# Only what lies beside it: no search path into the build.
unset WINEPATH
cli="$ROOT/build-win/out/kovadle-cli.exe"
[ -f "$cli" ] || {
  echo "FAILED: no $cli"
  exit 1
}

failures=0
ok() { echo "ok: $*"; }
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

mkdir -p "$dir/片段 clips"
cd "$dir"
clip="$dir/片段 clips/海边 假期.mp4"
out_dir="$dir/输出 folder"
# 720p in, 854x480 out at quality 80: a size the plan changes, so a wrong plan shows.
bounded 120 "$dir/ffmpeg.log" "$dir/ffmpeg.log" ffmpeg -v error \
  -f lavfi -i testsrc2=size=1280x720:rate=24:duration=1 -f lavfi -i sine=frequency=440:duration=1 \
  -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -shortest "$clip" || {
  echo "FAILED: could not make the clip: $(tail -n 5 "$dir/ffmpeg.log")"
  exit 1
}

# cli NAME EXPECTED-STATUS ARGUMENTS...: stdout in NAME.out (carriage returns
# dropped), stderr in NAME.err.
cli() {
  local name=$1 expected=$2 status=0
  shift 2
  bounded 300 "$dir/$name.raw" "$dir/$name.err" "$WINE" "$cli" "$@" || status=$?
  tr -d '\r' <"$dir/$name.raw" >"$dir/$name.out"
  if [ "$status" -eq 124 ]; then
    fail "kovadle-cli.exe $name did not end in 300 s (hung)"
    return 1
  fi
  if [ "$status" -ne "$expected" ]; then
    fail "kovadle-cli.exe $name: exit code $status, expected $expected: $(excerpt "$dir/$name.out" "$dir/$name.err")"
    return 1
  fi
  ok "kovadle-cli.exe $name: exit code $status"
}

clip_windows=$(winpath "$clip")
out_windows=$(winpath "$out_dir")
cli usage 2 transcode "$clip_windows" --format .wmv || true
cli missing 1 info "$(winpath "$dir/片段 clips/不在.mp4")" || true

if cli info 0 info "$clip_windows"; then
  for line in "File: $clip_windows" "Width: 1280" "Height: 720" "ResolutionClass: 720p"; do
    grep -qxF "$line" "$dir/info.out" || fail "info: no line \"$line\" in: $(excerpt "$dir/info.out")"
  done
fi

output="$out_dir/海边 假期_output.mp4"
if cli transcode 0 transcode "$clip_windows" --quality 80 --output-dir "$out_windows"; then
  if [ -f "$output" ]; then
    probe=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name,width,height \
      -of csv=p=0 "$output" 2>&1 || true)
    [ "$probe" = "h264,854,480" ] && ok "transcode: H.264 at 854x480" ||
      fail "transcode: the output's video is \"$probe\", expected h264,854,480"
  else
    fail "transcode: no $output; made: $(ls -A "$out_dir" 2>&1 | tr "\n" " ")"
  fi
fi

if cli jobs 0 jobs; then
  expected=$(printf 'Completed\t80\t%s\t%s\tcompleted' "$clip_windows" "$out_windows\\海边 假期_output.mp4")
  grep -qxF "$expected" "$dir/jobs.out" && ok "jobs: the completed job with both paths" ||
    fail "jobs: no line \"$expected\" in: $(excerpt "$dir/jobs.out")"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "every check passed"
