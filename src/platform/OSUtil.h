#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileKind.h"
#include "platform/FileOutcome.h"

// Paths, files, folders, processes and facts about the machine. Texts are UTF-8;
// paths use the platform's native separator unless a separator is passed in, so
// the Windows rules (backslash) stay testable everywhere.
class OSUtil {
 public:
  // '\\' on Windows, '/' elsewhere.
  static char nativeSeparator();

  // --- Application environment -------------------------------------------------
  // The executable's folder, native separators, no trailing separator.
  static std::string getAppDir();
  // a + sep + b, then the first doubled separator collapsed into one, so a folder
  // that already ends in a separator does not give two.
  static std::string pathJoin(const std::string& a, const std::string& b, char sep = nativeSeparator());
  static bool isFileExist(const std::string& path);

  using FileKind = ::FileKind;
  static FileKind getFileKind(const std::string& path);
  static bool removeFile(const std::string& path);
  // Renames from over to in one step, replacing a file (or link) named to; false
  // with the reason in error when it cannot.
  static bool replaceFile(const std::string& from, const std::string& to, std::string* error = nullptr);
  // Gives from's file the name to, never replacing anything that has it; false
  // (Exists or Failed, the reason in error) otherwise.
  static MoveOutcome moveWithoutReplacing(const std::string& from, const std::string& to,
                                          std::string* error = nullptr);
  // Makes a new file holding bytes, only where nothing has the name (never through a link).
  static CreateOutcome createNewFile(const std::string& path, const std::string& bytes,
                                     std::string* error = nullptr);
  // Up to limit bytes of a regular file; a link, folder, pipe or device is not read.
  static ReadOutcome readRegularFile(const std::string& path, size_t limit, std::string* bytes);
  // Both paths name one file: the same text once made absolute, or (both existing) the
  // same file reached another way.
  static bool isSameFile(const std::string& a, const std::string& b);
  // True when anything has this name, a dangling link too.
  static bool isPathTaken(const std::string& path);
  // The hidden file beside an output's name by which a job holds the name until its
  // output is whole (the name of the output's own file stays free until then).
  static std::string outputReservationPath(const std::string& outputPath);
  // The name is taken: something has it, or a job holds it.
  static bool isOutputNameTaken(const std::string& outputPath);
  static bool mkpath(const std::string& path);

  // --- Path texts (an extension starts at the last dot) ---------------------------
  static std::string getFileName(const std::string& path, char sep = nativeSeparator());
  static std::string getFileDir(const std::string& path, char sep = nativeSeparator());
  static std::string getFileExtension(const std::string& path);
  static std::string removeExtension(const std::string& path);
  static std::string addOutputSuffix(const std::string& path);

  // --- Files and folders ------------------------------------------------------------
  static void openInExplorer(const std::string& folder);
  // A new random UUID, lower-case, without braces (36 characters).
  static std::string createGuid();
  // outDir/base_output+ext, or the first outDir/base_output_N+ext (N from 2) whose
  // name is not taken (isOutputNameTaken);
  // base is shortened, a whole character at a time, so the name fits outDir's file
  // system.
  static std::string getUniqueOutputPath(const std::string& outDir, const std::string& name,
                                         const std::string& ext, char sep = nativeSeparator());
  static std::string getOutputFilePath(const std::string& outDir, const std::string& name);
  // base + tail, with as many whole characters cut from the end of base as it takes
  // for the name to be at most limit long, counted as the file system counts
  // (bytes; UTF-16 units on Windows). A tail too long by itself is kept whole.
  static std::string fitFileName(const std::string& base, const std::string& tail, size_t limit);
  // The longest file name the folder's file system takes (255 when it cannot tell).
  static size_t maxFileNameLength(const std::string& folder);
  // Where outputs go until the user picks a folder (created when missing).
  static std::string getDefaultOutputDir();

  // --- Processes and machine --------------------------------------------------------
  static void sleepMs(int ms);
  // Whole-machine processor load in percent over the next ms milliseconds, rounded up.
  static int getCpuUsage(int ms);
  // The same measurement in two readings, for a caller that waits in between in its
  // own way (and may cut the wait short): load = getCpuUsageBetween(before, after).
  struct CpuReading {
    uint64_t idle = 0;
    uint64_t total = 0;
    bool valid = false;
  };
  static CpuReading readCpuCounters();
  static int getCpuUsageBetween(const CpuReading& before, const CpuReading& after);
  // Forcibly ends a process, but only one of our own running children (see
  // registerChildProcess); any other pid is left alone.
  static void killProcess(int64_t pid);
  // Suspends (hold true) or resumes one of our own running children, with whatever
  // it started itself; any other pid is left alone. True when it was done.
  static bool holdProcess(int64_t pid, bool hold);
  static void registerChildProcess(int64_t pid);
  // The process runs and belongs to this user.
  static bool isProcessAlive(int64_t pid);
  // The file name of the process's program ("kovadle"); "" when it cannot be told.
  static std::string processName(int64_t pid);
  // True when killProcess ended the child meanwhile.
  static bool unregisterChildProcess(int64_t pid);

  // Shuts the machine down at once through the replaceable shutdown action.
  static void ShutdownMachineNow();
  // Replaces the shutdown action (tests install a recorder); an empty function
  // restores the real one.
  static void setShutdownAction(std::function<void()> action);

  static std::string getOsName();
  static std::string getCpuArch();
  static std::string FileSizeFriendly(int64_t bytes);
  static std::string getStringMd5(const std::string& text);
  static std::string getMac();
  static std::string getEthernetMac();
  static std::string getWirelessMac();
  static uint64_t macToNumber(const std::string& mac);
  // ".exe" on Windows, empty elsewhere: the suffix of the tools in bin/.
  static std::string executableSuffix();

#ifdef _WIN32
  // Drives exist on Windows only.
  static std::vector<char> getAllDriverLetters();
  static uint64_t getDriveFreeSpace(const std::string& root);
  static std::string getMaxFreeSpaceDrive();
#endif
};
