#include <windows.h>

#include "Util/OSUtil.h"

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
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) {
    throw std::string("OSUtil::getDriveFreeSpace(), call GetDiskFreeSpaceEx failed!");
  }
  return available.QuadPart;
}

std::string OSUtil::getMaxFreeSpaceDrive() {
  std::string best;
  uint64_t bestFree = 0;
  for (char letter : getAllDriverLetters()) {
    const std::string root = std::string(1, letter) + ":";
    if (GetDriveTypeA(root.c_str()) != DRIVE_FIXED) continue;
    const uint64_t free = getDriveFreeSpace(root);
    if (free > bestFree) {
      bestFree = free;
      best = root;
    }
  }
  return best;
}
