#pragma once

#include <string>

// Points every per-user location (HOME, XDG data/config/cache) at a fresh temporary
// folder so no test touches real user data, and the backend at a port on
// 127.0.0.1 where nothing listens, so no test (nor a program it starts) reaches
// any other host. Call before the application object.
void isolate_user_folders();

// "https://127.0.0.1:<port>/KovadleBackend/v1" for a port where nothing listens.
std::string unreachable_backend_url();

// The temporary home made by isolate_user_folders().
std::string isolated_home();

// A fresh, empty folder below the isolated home (removed with it at exit).
std::string make_temp_folder(const std::string& prefix);
