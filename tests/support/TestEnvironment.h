#pragma once

#include <QString>
#include <string>

// Points every per-user location (HOME, XDG data/config/cache) at a fresh temporary
// folder so no test touches real user data, and the backend at a port on
// 127.0.0.1 where nothing listens, so no test (nor a program it starts) reaches
// any other host. Call before the application object.
void isolate_user_folders();

// The platform's parts of it: points the per-user folders below home, and gives
// "https://127.0.0.1:<port>/KovadleBackend/v1" for a port where nothing listens.
void point_user_folders_at(const QString& home);
std::string unreachable_backend_url();

// Keeps a window test away from the desktop's own session (its bus, its runtime
// folder). Call after isolate_user_folders().
void isolate_desktop_session();

// The temporary home made by isolate_user_folders().
std::string isolated_home();

// A fresh, empty folder below the isolated home (removed with it at exit).
std::string make_temp_folder(const std::string& prefix);
