#pragma once

#include <string>

// Inputs with many tracks, made at test time with the shipped encoder.

// A PGS (Blu-ray picture) subtitle file of one 64x16 picture on a width x height
// screen, shown from 0.5 s to 1.5 s. The encoder makes no picture subtitles from
// text, so this is written byte by byte; from it the encoder makes VobSub and DVB.
void write_pgs_subtitle(const std::string& path, int width, int height);

// An MKV of 2 s, its streams:
//   0 video h264 640x360
//   1 audio aac mono, "eng", titled "English"
//   2 audio aac stereo, "ger", titled "Deutsch = gut"
//   3 subtitle subrip, "eng", forced
//   4 subtitle hdmv_pgs_subtitle, "fre"
//   5 subtitle dvd_subtitle
//   6 subtitle dvb_subtitle
//   7 attachment (a font)
// "" (and a test failure) when the encoder could not make it.
std::string make_multitrack_clip(const std::string& folder);

// An MP4 of 2 s: video, audio, a mov_text subtitle "spa" and a timecode data stream.
std::string make_data_stream_clip(const std::string& folder);

// The streams of a file as the probe reads them, one "type/codec/language/title"
// per stream, joined by ", " ("video/h264//, audio/aac/eng/English").
std::string stream_list(const std::string& path);
