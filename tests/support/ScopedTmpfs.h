#pragma once

#include <string>

// A small tmpfs mounted over a folder while the object lives, where this process may
// mount (as root here); mounted() is false elsewhere and the test then skips. It
// stands in for a full disk or a read-only data folder.
class ScopedTmpfs {
 public:
  ScopedTmpfs(const std::string& folder, const std::string& size);
  ~ScopedTmpfs();
  ScopedTmpfs(const ScopedTmpfs&) = delete;
  ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

  bool mounted() const { return mounted_; }
  bool setReadOnly(bool readOnly);

 private:
  std::string folder_;
  std::string options_;
  bool mounted_ = false;
};
