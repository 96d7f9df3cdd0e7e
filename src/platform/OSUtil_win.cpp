#include <windows.h>

#include "platform/OSDrives_win.h"
#include "platform/OSUtil.h"

namespace {

// The Win32 drive calls want a root folder with its backslash: "C:" alone names the
// current folder of that drive, and GetDriveType does not take it as a root.
std::string rootFolder(const std::string& root) {
  return !root.empty() && root.back() == ':' ? root + "\\" : root;
}

}  // namespace

std::vector<char> OSUtil::getAllDriverLetters() {
  char buffer[261] = {0};
  const DWORD result = GetLogicalDriveStringsA(260, buffer);
  if (result < 1 || result > 260) {
    throw std::string("OSUtil::getAllDriverLetters(), call GetLogicalDriveStrings failed, dwResult:") +
        std::to_string(result);
  }
  std::vector<char> letters;
  for (int i = 0; i < 260; ++i) {
    if (buffer[i] == '\0' && buffer[i + 1] == '\0') break;
    if (buffer[i] >= 'A' && buffer[i] <= 'Z') letters.push_back(buffer[i]);
  }
  return letters;
}

uint64_t OSUtil::getDriveFreeSpace(const std::string& root) {
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExA(rootFolder(root).c_str(), &available, nullptr, nullptr)) {
    throw std::string("OSUtil::getDriveFreeSpace(), call GetDiskFreeSpaceEx failed!");
  }
  return available.QuadPart;
}

std::string OSUtil::getMaxFreeSpaceDrive() {
  return os_platform::chooseMaxFreeSpaceDrive(
      getAllDriverLetters(),
      [](const std::string& root) { return GetDriveTypeA(rootFolder(root).c_str()) == DRIVE_FIXED; },
      [](const std::string& root) { return getDriveFreeSpace(root); });
}
