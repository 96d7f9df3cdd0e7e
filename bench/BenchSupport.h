#pragma once

#include <string>
#include <vector>

// Points HOME and the XDG folders at a fresh temporary folder (removed at exit),
// so benchmarks never touch real user data. Returns that folder.
std::string isolate_bench_folders();

// Generates a 1920x1080 clip with audio at path, 10 seconds unless told otherwise;
// false when ffmpeg fails.
bool make_1080p_clip(const std::string& path, int seconds = 10);

double median_of(std::vector<double> values);

// Runs the benchmarks the command line selects, reported on the console.
int run_benchmarks(int argc, char** argv);

// The process's resident memory in bytes; -1 when it cannot be read.
long long resident_bytes();
// Bytes the allocator has handed out and not taken back; -1 where it cannot tell.
long long heap_in_use_bytes();
