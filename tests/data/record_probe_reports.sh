#!/usr/bin/env bash
# Regenerates the recorded probe reports (*.ini) from clips made with the system's
# ffmpeg, using exactly the probe command the program runs. Run from anywhere.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"

video=(-f lavfi -i testsrc2=size=640x480:rate=25:duration=2)
tone=(-f lavfi -i sine=frequency=440:sample_rate=44100:duration=2)
x264=(-c:v libx264 -preset ultrafast -pix_fmt yuv420p)
make() { ffmpeg -y -loglevel error "$@"; }

make "${video[@]}" "${tone[@]}" "${x264[@]}" -c:a aac video_audio.mp4
make "${tone[@]}" -c:a aac audio_only.m4a
make "${video[@]}" "${x264[@]}" video_only.mp4
make "${video[@]}" -f lavfi -i testsrc2=size=320x240:rate=30:duration=2 "${tone[@]}" \
  -map 0:v -map 1:v -map 2:a "${x264[@]}" -c:a aac two_video.mp4
make "${video[@]}" "${tone[@]}" "${x264[@]}" -c:a aac no_stream_bitrate.mkv
make "${video[@]}" -c:v libx264 -preset ultrafast -pix_fmt yuv420p10le ten_bit.mp4
# A song with its cover picture: the picture is a video stream marked as attached.
make "${tone[@]}" -f lavfi -i testsrc2=s=600x600:d=1 -map 0 -map 1 -frames:v 1 -c:v mjpeg \
  -disposition:v attached_pic cover_art.mp3

for file in video_audio.mp4 audio_only.m4a video_only.mp4 two_video.mp4 no_stream_bitrate.mkv \
  ten_bit.mp4 cover_art.mp3; do
  ffprobe -loglevel quiet -print_format ini -show_streams -show_format -i "$file" > "$here/${file%.*}.ini" || true
done
