#pragma once

#include <cstdint>
#include <string>

#include "platform/FileOutcome.h"

// A new, empty file this process made under a name nothing had before (not even a
// link), kept open while the object lives so that its identity can be checked: a
// file that another program fills and that is later renamed is still the one made
// here. Closed when the object goes; the file itself stays.
class ExclusiveFile {
 public:
  ExclusiveFile() = default;
  ~ExclusiveFile();
  ExclusiveFile(const ExclusiveFile&) = delete;
  ExclusiveFile& operator=(const ExclusiveFile&) = delete;

  // Exists (nothing made) when anything has the name; Failed with the system's reason.
  CreateOutcome Create(const std::string& path, std::string* error);
  // A name under which another program opens this very file, whatever happens to its
  // own name meanwhile: on Linux the file's entry in /proc; elsewhere its path.
  std::string PathForOthers() const;
  // The name still leads to this file: not removed, replaced, or made a link.
  bool IsAt(const std::string& path) const;
  // Its bytes now, whatever its name; -1 when it cannot be told.
  int64_t Size() const;

 private:
  std::string path_;
  // The descriptor (a HANDLE on Windows); -1 while none is open.
  intptr_t native_ = -1;
};
