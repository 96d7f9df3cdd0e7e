#!/bin/sh
# Records the encoder traces that bench_timeleft replays: short inputs of several
# kinds, each transcoded once with the command the program itself generates, every
# output line stamped with the time it arrived. Run from the build folder's output
# (where bench_timeleft and bin/encoder are):
#   bench/traces/record_traces.sh build/out/bench_timeleft
# A few minutes on a 2-core machine. The traces replace those in this folder.
# On a machine busy with other sessions' work, give the recording a session of its
# own with a raised share of the processor (root; Linux's automatic session groups
# make plain nice ineffective across sessions), so the traces show the encoder and
# its content rather than the other work:
#   setsid sh -c 'echo -15 >/proc/self/autogroup; exec bench/traces/record_traces.sh build/out/bench_timeleft'

set -eu

bench=${1:?usage: record_traces.sh path/to/bench_timeleft}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kovadle-traces-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Inputs are made fast and large (ultrafast, high bit rate), so the encode under
# test is what takes the time.
make_input() {
  name=$1
  shift
  ffmpeg -nostdin -loglevel error -y "$@" -c:v libx264 -preset ultrafast -crf 12 -pix_fmt yuv420p \
    -c:a aac "$work/$name.mp4"
}

audio="-f lavfi -i sine=frequency=440:sample_rate=44100"

# Steady content: the same moving test pattern throughout.
make_input uniform -f lavfi -i testsrc2=size=1920x1080:rate=30:duration=80 $audio:duration=80 -shortest
# Noise is costly to encode everywhere; no audio, so the encoder's own lag shows.
make_input noisy -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=60,noise=alls=60:allf=t+u"
# A still picture first, then noise: the second half costs far more than the first.
make_input still_then_noisy -f lavfi \
  -i "smptebars=size=1280x720:rate=30:duration=45[a];testsrc2=size=1280x720:rate=30:duration=45,noise=alls=60:allf=t+u[b];[a][b]concat=n=2:v=1:a=0[out0]" \
  $audio:duration=90 -shortest
# 60 frames per second in, 24 out: decoding and dropping frames costs too.
make_input 720p60 -f lavfi -i testsrc2=size=1280x720:rate=60:duration=120 $audio:duration=120 -shortest
# A 4K frame: few frames per second.
make_input 4k -f lavfi -i testsrc2=size=3840x2160:rate=24:duration=24 $audio:duration=24 -shortest

for name in uniform noisy still_then_noisy 720p60 4k; do
  echo "recording $name"
  "$bench" record "$work/$name.mp4" "$here/$name.trace"
done
