#include <windows.h>

#include <QString>

#include "text/TxtUtil.h"

TxtUtil::FileRead TxtUtil::readRegularFile(const std::string& path, int64_t maxBytes, std::string& bytes) {
  bytes.clear();
  const std::wstring name = QString::fromUtf8(path.c_str(), static_cast<int>(path.size())).toStdWString();
  // A folder fails to open here; a device or pipe opens without waiting and is
  // refused by its type before anything is read.
  HANDLE file =
      CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                          : FileRead::Unreadable;
  }
  FileRead outcome = FileRead::Ok;
  LARGE_INTEGER size;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    outcome = FileRead::NotRegular;
  } else if (!GetFileSizeEx(file, &size)) {
    outcome = FileRead::Unreadable;
  } else if (size.QuadPart > maxBytes) {
    outcome = FileRead::TooLarge;
  } else {
    // A file that grows while it is read is still cut off past the limit.
    static const DWORD kChunk = 65536;
    std::string chunk(kChunk, '\0');
    for (;;) {
      DWORD count = 0;
      if (!ReadFile(file, &chunk[0], kChunk, &count, nullptr)) {
        outcome = FileRead::Unreadable;
        break;
      }
      if (count == 0) break;
      bytes.append(chunk.data(), count);
      if (static_cast<int64_t>(bytes.size()) > maxBytes) {
        outcome = FileRead::TooLarge;
        break;
      }
    }
  }
  CloseHandle(file);
  if (outcome != FileRead::Ok) bytes.clear();
  return outcome;
}
