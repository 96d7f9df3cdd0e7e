#pragma once

#include <QString>
#include <string>

// Points every per-user location (HOME, XDG data/config/cache) at a fresh temporary
// folder so no test touches real user data. Call before the application object.
void isolate_user_folders();

// The platform's part of it: points the per-user folders below home.
void point_user_folders_at(const QString& home);

// The temporary home made by isolate_user_folders().
std::string isolated_home();

// A fresh, empty folder below the isolated home (removed with it at exit).
std::string make_temp_folder(const std::string& prefix);
