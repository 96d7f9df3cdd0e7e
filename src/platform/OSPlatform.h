#pragma once

#include <cstdint>
#include <string>

#include "platform/FileKind.h"
#include "platform/FileOutcome.h"

// The few operating-system calls behind OSUtil that differ per platform
// (OSPlatform_posix.cpp, OSPlatform_win.cpp). Internal to Util and its tests.
namespace os_platform {

// Cumulative processor times since boot, in any unit, summed over all processors.
struct CpuTimes {
  uint64_t idle = 0;
  uint64_t total = 0;
};

bool readCpuTimes(CpuTimes& times);

// Load in percent between two readings, rounded up; 0 when no time passed.
int loadPercent(const CpuTimes& before, const CpuTimes& after);

// Parses the aggregate "cpu" line of /proc/stat; idle counts idle and iowait.
bool parseProcStatCpuLine(const std::string& line, CpuTimes& times);

// Forcibly ends a child already checked against the registry of our children;
// false when it is no child of ours after all.
bool killChild(int64_t pid);

// Suspends (hold) or resumes a child already checked against the registry of our
// children, with whatever it started itself; false when that did not happen.
bool holdChild(int64_t pid, bool hold);

// The real machine shutdown; runs only when no replacement action is installed.
void shutdownMachine();

void openFolder(const std::string& folder);

// The folder below which the default output folder is made.
std::string defaultOutputBase();

// ".exe" on Windows, empty elsewhere.
std::string executableSuffix();

// Renames from over to, replacing what to names (a file or a link, never followed)
// in one step. False, with the system's reason in error, when it cannot.
bool replaceFile(const std::string& from, const std::string& to, std::string& error);

// Gives from's file the name to unless something has that name already: never
// replaces. Where the file system cannot refuse a replacement in a rename, a link
// to the new name and the old name's removal do the same.
MoveOutcome moveWithoutReplacing(const std::string& from, const std::string& to, std::string& error);

// Makes the file with these bytes only if nothing has its name, never through a link.
CreateOutcome createNewFile(const std::string& path, const std::string& bytes, std::string& error);

// Up to limit bytes of a regular file, opened without following a link and without
// waiting for a writer (a pipe is refused before it is opened).
ReadOutcome readRegularFile(const std::string& path, size_t limit, std::string& bytes);

// The process runs and is this user's.
bool processAlive(int64_t pid);
// The file name of the process's program; "" when it cannot be told.
std::string processName(int64_t pid);

// Both names lead to one file (links followed).
bool sameFile(const std::string& a, const std::string& b);

// A UTF-8 name's length as the file system counts it: bytes, UTF-16 units on Windows.
size_t fileNameUnits(const std::string& name);
// The file system's longest name in the folder (0 when it cannot tell).
size_t fileNameLimit(const std::string& folder);

FileKind fileKind(const std::string& path);

}  // namespace os_platform
