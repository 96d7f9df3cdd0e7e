#include "platform/OSDrives_win.h"
#include "platform/OSUtil.h"

std::vector<char> OSUtil::getAllDriverLetters() { return os_platform::allDriveLetters(); }

uint64_t OSUtil::getDriveFreeSpace(const std::string& root) { return os_platform::driveFreeSpace(root); }

std::string OSUtil::getMaxFreeSpaceDrive() { return os_platform::maxFreeSpaceDrive(); }
