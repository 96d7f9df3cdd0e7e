#include <windows.h>

#include "FolderTime.h"

bool set_folder_modified(const QString& path, const QDateTime& modified) {
  // Only with backup semantics does CreateFile open a folder.
  HANDLE folder = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  // FILETIME counts 100 ns steps since 1601-01-01.
  const ULONGLONG ticks =
      (static_cast<ULONGLONG>(modified.toMSecsSinceEpoch()) + 11644473600000ULL) * 10000ULL;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFULL);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  const bool done = SetFileTime(folder, nullptr, &time, &time) != 0;
  CloseHandle(folder);
  return done;
}
