#include <sys/mount.h>

#include "ScopedTmpfs.h"

ScopedTmpfs::ScopedTmpfs(const std::string& folder, const std::string& size)
    : folder_(folder), options_("size=" + size + ",mode=0777") {
  mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options_.c_str()) == 0;
}

ScopedTmpfs::~ScopedTmpfs() {
  // Detached: a child that still has a file open there cannot keep it mounted.
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

bool ScopedTmpfs::setReadOnly(bool readOnly) {
  const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
  return mounted_ && ::mount("tmpfs", folder_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
}
