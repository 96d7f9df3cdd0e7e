#pragma once

#include <map>
#include <mutex>
#include <string>

// The choices a user makes that survive a restart, mirrored in "UserSettings.config"
// (a flat JSON object of strings directly in the per-user data folder). Loaded once
// on first use, rewritten whole (atomically) on every save. Safe from any thread.
class UserSettings {
 public:
  static UserSettings& instance();

  // Reads the settings file at path (a missing or unreadable file gives no values).
  explicit UserSettings(std::string path);
  UserSettings(const UserSettings&) = delete;
  UserSettings& operator=(const UserSettings&) = delete;

  // The stored value, or "" when the key is absent.
  std::string get(const std::string& key) const;
  void set(const std::string& key, const std::string& value);
  // Writes every value to the file, keys in ascending order; false when it could
  // not be written (the values stay in memory).
  bool save();

  // Stores "OutputDir" and saves.
  void setOutputDir(const std::string& folder);
  // "OutputDir" as stored when a settings file was read or written, else "".
  std::string storedOutputDir() const;

  std::string path() const { return path_; }

 private:
  const std::string path_;
  mutable std::mutex lock_;
  std::map<std::string, std::string> values_;
  bool loaded_ = false;
};

// Where new outputs go: the stored "OutputDir" unchanged (not created) when
// output_dir_usable, otherwise the default output folder, created when missing. A
// stored folder passed over is logged; the settings file is left alone.
std::string get_output_dir();
// An absolute path to a writable folder, or to nothing yet (made when needed); not
// a relative path, a file, a device or a folder that cannot be written.
bool output_dir_usable(const std::string& folder);

// The interface language, "cn" or "en": the user's choice ("Language" in the user
// settings) when there is one, else the system's. Read once per run, so a new
// choice applies from the next start.
std::string get_language();
// The language a stored "Language" value stands for: "cn" and "en" as stored,
// anything else (nothing chosen) the system's.
std::string language_from_setting(const std::string& stored);
// The system's interface language: "cn" when its first user-interface language is
// Chinese (zh*), otherwise "en".
std::string language_of_system();
