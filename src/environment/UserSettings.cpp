#include "environment/UserSettings.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <utility>

#include "environment/AppConstants.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "text/SimpleJson.h"

namespace {
const char* const kOutputDir = "OutputDir";
}  // namespace

UserSettings& UserSettings::instance() {
  static UserSettings settings(OSUtil::pathJoin(get_app_data_base_dir(), "UserSettings.config"));
  return settings;
}

UserSettings::UserSettings(std::string path) : path_(std::move(path)) {
  if (!OSUtil::isFileExist(path_)) return;
  loaded_ = true;
  SimpleJson json;
  json.load_file(path_);
  try {
    values_ = SimpleJson::to_map(json.to_string());
  } catch (const std::string& reason) {
    // A hand-edited file of another shape is ignored and replaced at the next save.
    log_info("UserSettings, ignored settings file:" + path_ + ",reason:" + reason);
    values_.clear();
  }
}

std::string UserSettings::get(const std::string& key) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = values_.find(key);
  return found == values_.end() ? std::string() : found->second;
}

void UserSettings::set(const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> guard(lock_);
  values_[key] = value;
}

bool UserSettings::save() {
  std::lock_guard<std::mutex> guard(lock_);
  SimpleJson json;
  json.parse("{}");
  for (const auto& entry : values_) json.set(entry.first, entry.second);
  loaded_ = true;
  const bool saved = json.save_file(path_);
  if (!saved) log_info("UserSettings::save, could not write:" + path_);
  return saved;
}

void UserSettings::setOutputDir(const std::string& folder) {
  set(kOutputDir, folder);
  save();
}

std::string UserSettings::storedOutputDir() const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = values_.find(kOutputDir);
  return loaded_ && found != values_.end() ? found->second : std::string();
}

bool output_dir_usable(const std::string& folder) {
  const QFileInfo info(to_qstring(folder));
  // Relative, it would follow whatever folder the program was started from.
  if (folder.empty() || info.isRelative()) return false;
  // A missing folder is made when the first output needs it, below the nearest
  // folder that is there.
  QFileInfo existing = info;
  while (!existing.exists() && !existing.isSymLink() && !existing.isRoot())
    existing = QFileInfo(existing.absolutePath());
  return existing.isDir() && existing.isWritable();
}

std::string get_output_dir() {
  const std::string stored = UserSettings::instance().storedOutputDir();
  if (stored.empty()) return OSUtil::getDefaultOutputDir();
  if (output_dir_usable(stored)) return stored;
  // The file stays as it is: the folder may become usable again (a drive mounted later).
  const std::string fallback = OSUtil::getDefaultOutputDir();
  log_info("get_output_dir, stored OutputDir is not usable:" + stored + ",using:" + fallback);
  return fallback;
}

std::string get_language() {
  static const std::string language = language_from_setting(UserSettings::instance().get("Language"));
  return language;
}

std::string language_from_setting(const std::string& stored) {
  if (stored == "en" || stored == "cn") return stored;
  return language_of_system();
}

std::string language_of_system() {
  // The languages the user reads, in order (LANGUAGE, LC_MESSAGES, LANG on Unix;
  // the display languages on Windows).
  const QLocale system = QLocale::system();
  const QStringList languages = system.uiLanguages();
  const QString first = languages.isEmpty() ? system.name() : languages.first();
  return first.startsWith(QLatin1String("zh"), Qt::CaseInsensitive) ? "cn" : "en";
}
