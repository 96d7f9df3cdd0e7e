#include "environment/AppConstants.h"

#include <QDir>
#include <QHostAddress>
#include <QLocale>
#include <QObject>
#include <QStandardPaths>
#include <QUrl>
#include <cstdint>
#include <iostream>
#include <limits>
#include <mutex>

#include "environment/UserSettings.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/SyncString.h"

namespace {

const char* const kBuiltInBackendUrl = "https://api.kovadle.com/KovadleBackend/v1";
const char* const kOfficialSite = "https://www.kovadle.com/";
const char* const kNotYet = "init";

SyncString& device_id_cell() {
  static SyncString cell("init");
  return cell;
}

SyncString& user_id_cell() {
  static SyncString cell("init");
  return cell;
}

// Joins the folder name to the per-user application-data location, creating both
// when missing. A failure to create is left to the later file operations.
std::string data_folder(const char* name) {
  const std::string folder = OSUtil::pathJoin(get_app_data_base_dir(), name);
  if (!OSUtil::isFileExist(folder)) OSUtil::mkpath(folder);
  return folder;
}

// Initialised before main so the first reader never races the construction.
const bool kCellsReady = (device_id_cell(), user_id_cell(), true);

}  // namespace

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

std::string get_distri_id() { return "official"; }
std::string get_current_version() { return "1.1.6"; }
std::string get_product_name() { return QObject::tr("Kovadle").toUtf8().toStdString(); }
std::string get_official_site() { return kOfficialSite; }

std::string get_backend_url() {
  const QByteArray custom = qgetenv("KOVADLE_BACKEND_URL");
  std::string url = custom.isEmpty() ? std::string(kBuiltInBackendUrl) : custom.toStdString();
  if (!custom.isEmpty() && !backend_url_allowed(url)) {
    // Reports carry the device and the machine: never in clear text across a network.
    log_info(
        "get_backend_url, KOVADLE_BACKEND_URL refused (https, or http to this machine only), "
        "using the built-in backend.");
    url = kBuiltInBackendUrl;
  }
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

bool backend_url_allowed(const std::string& url) {
  const QUrl parsed(QString::fromUtf8(url.c_str()), QUrl::StrictMode);
  if (!parsed.isValid() || parsed.host().isEmpty()) return false;
  if (parsed.scheme() == "https") return true;
  if (parsed.scheme() != "http") return false;
  return parsed.host() == "localhost" || QHostAddress(parsed.host()).isLoopback();
}

std::string get_ssc_api() { return "getSSC"; }
std::string get_app_start_api() { return "p_app_start"; }
std::string get_app_logs_api() { return "p_app_logs"; }
std::string get_request_salt() { return "5d0f3a72-8e41-4b9c-a6d2-1f7e9c03b584"; }
std::string get_installer_info_file_name() { return "installer_info.dat"; }

std::string get_app_data_base_dir() {
  const QString base_q =
      QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
  const std::string base = base_q.toUtf8().toStdString();
  if (!OSUtil::isFileExist(base)) OSUtil::mkpath(base);
  return base;
}

std::string get_appjoblogs_dir() { return data_folder("appjoblogs"); }
std::string get_appjobfile_dir() { return data_folder("appjobfile"); }
std::string get_applogs_dir() { return data_folder("applogs"); }
std::string get_appdata_dir() { return data_folder("appdata"); }

std::string get_device_id() {
  (void)kCellsReady;
  // The report thread and the device-id dialog may ask at the same moment: one
  // derivation runs, and every caller waits for its result.
  static std::once_flag derived;
  std::call_once(derived, [] {
    if (device_id_cell().get() != kNotYet) return;
    std::cout << "Init device_id." << std::endl;
    const std::string mac = OSUtil::getMac();
    std::cout << "mac_address:" << mac << std::endl;
    device_id_cell().set(device_id_from_mac(mac));
  });
  return device_id_cell().get();
}
void set_device_id(const std::string& device_id) { device_id_cell().set(device_id); }
std::string get_user_id() { return user_id_cell().get(); }
void set_user_id(const std::string& user_id) { user_id_cell().set(user_id); }

std::string device_id_from_mac(const std::string& mac) {
  if (mac.empty()) return "0";
  const uint64_t number = OSUtil::macToNumber(mac);
  const uint64_t largest = static_cast<uint64_t>(std::numeric_limits<long long>::max());
  return std::to_string(static_cast<long long>(number < largest ? number : largest));
}
