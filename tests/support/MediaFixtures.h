#pragma once

#include <string>

class CommandLine;

// Short media files generated for tests with the encoder the program ships (bin/).
struct ClipSpec {
  int width = 640;
  int height = 480;
  double seconds = 2.0;
  int fps = 25;
  bool video = true;
  bool audio = true;
  std::string pix_fmt = "yuv420p";
  std::string video_codec = "libx264";
  int rotate = 0;          // display rotation tag in degrees; 0 for none
  std::string extra_args;  // placed before the output path
};

// A clip of this size and length, the other fields as ClipSpec has them.
inline ClipSpec clip_of(int width, int height, double seconds) {
  ClipSpec spec;
  spec.width = width;
  spec.height = height;
  spec.seconds = seconds;
  return spec;
}

// The shipped tool bin/<tool> beside the test program ("encoder", "mediainfo").
std::string tool_path(const std::string& tool);

// Writes the clip to folder/name and returns its full path; fails the calling
// test (ADD_FAILURE) and returns "" when ffmpeg does not produce it.
std::string make_clip(const std::string& folder, const std::string& name, const ClipSpec& spec);

// Runs a program with arguments and returns its standard output (merged with
// standard error when merge is true). Waits at most timeout_ms.
std::string run_and_capture(const std::string& program, const std::string& arguments_joined_by_newline,
                            bool merge = false, int timeout_ms = 120000, int* exit_code = nullptr);

// Runs the probe tool on a file and returns one entry of the first video stream (for
// example "width", "codec_name") or of the format when stream is "format".
std::string probe_entry(const std::string& path, const std::string& stream, const std::string& entry);

// Runs a generated command the way the program does (its arguments, started
// directly) and returns its exit code (-1 when it crashed or hung); its merged
// output goes to output.
int run_command(const CommandLine& command, std::string* output);
