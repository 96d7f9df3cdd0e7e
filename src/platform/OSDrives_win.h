#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace os_platform {

// The drives behind OSUtil::getAllDriverLetters, getDriveFreeSpace and
// getMaxFreeSpaceDrive (which throw a std::string when Windows cannot say).
std::vector<char> allDriveLetters();
uint64_t driveFreeSpace(const std::string& root);
std::string maxFreeSpaceDrive();

// The choice behind OSUtil::getMaxFreeSpaceDrive, with the drive queries passed in:
// the root ("C:") of the fixed drive with the most bytes free, the earlier letter on
// a tie, never a drive with nothing free; empty when no drive qualifies. Free space
// is asked only of fixed drives (an empty card reader has none to report).
std::string chooseMaxFreeSpaceDrive(const std::vector<char>& letters,
                                    const std::function<bool(const std::string& root)>& isFixed,
                                    const std::function<uint64_t(const std::string& root)>& freeBytes);

}  // namespace os_platform
