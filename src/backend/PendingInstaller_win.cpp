#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

#include "backend/PendingInstaller.h"
#include "text/QtText.h"

bool PendingInstaller::start_installer(const std::string& installer_path) {
  // CreateProcess (QProcess) refuses a program whose manifest asks for elevation
  // (ERROR_ELEVATION_REQUIRED); the shell shows the consent prompt instead. Declining
  // it fails the start, and the program goes on.
  const std::wstring file = to_qstring(installer_path).toStdWString();
  SHELLEXECUTEINFOW start = {};
  start.cbSize = sizeof(start);
  // Done before returning: the program ends right after.
  start.fMask = SEE_MASK_NOASYNC;
  start.lpVerb = L"open";
  start.lpFile = file.c_str();
  start.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&start) != FALSE;
}
