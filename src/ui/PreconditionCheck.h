#pragma once

#include <string>
#include <vector>

// The start-up check of the files the program needs beside its executable. Each
// message names one missing file, in the order the files are checked; the tools
// inside "bin" are checked only when "bin" itself exists.
std::vector<std::string> missing_file_messages(const std::string& app_dir);

// Platform pieces: the file name of a tool in "bin" ("encoder" here, "encoder.exe"
// on Windows), and the messages for shared libraries the platform ships beside
// the executable (none outside Windows).
std::string tool_file_name(const std::string& tool);
std::vector<std::string> missing_library_messages(const std::string& app_dir);
