#include <windows.h>

#include <QString>

#include "platform/ExclusiveFile.h"

namespace {

std::wstring wide(const std::string& path) { return QString::fromStdString(path).toStdWString(); }

HANDLE handle(intptr_t native) { return reinterpret_cast<HANDLE>(native); }

bool identify(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
  return file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info);
}

}  // namespace

ExclusiveFile::~ExclusiveFile() {
  if (native_ != -1) CloseHandle(handle(native_));
}

CreateOutcome ExclusiveFile::Create(const std::string& path, std::string* error) {
  if (native_ != -1) CloseHandle(handle(native_));
  native_ = -1;
  path_ = path;
  // Shared for writing (the encoder opens it) and deleting (the rename at the end).
  HANDLE file =
      CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    native_ = reinterpret_cast<intptr_t>(file);
    return CreateOutcome::Created;
  }
  const DWORD code = GetLastError();
  if (error != nullptr) *error = "Windows error " + std::to_string(code);
  return code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? CreateOutcome::Exists
                                                                   : CreateOutcome::Failed;
}

std::string ExclusiveFile::PathForOthers() const { return path_; }

bool ExclusiveFile::IsAt(const std::string& path) const {
  BY_HANDLE_FILE_INFORMATION ours, named;
  if (native_ == -1 || !identify(handle(native_), ours)) return false;
  // The entry itself, not what a link there leads to.
  HANDLE other = CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  const bool known = identify(other, named);
  if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  return known && (named.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0 &&
         ours.dwVolumeSerialNumber == named.dwVolumeSerialNumber &&
         ours.nFileIndexHigh == named.nFileIndexHigh && ours.nFileIndexLow == named.nFileIndexLow;
}

int64_t ExclusiveFile::Size() const {
  LARGE_INTEGER size;
  if (native_ == -1 || !GetFileSizeEx(handle(native_), &size)) return -1;
  return static_cast<int64_t>(size.QuadPart);
}
