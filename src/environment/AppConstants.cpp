#include "environment/AppConstants.h"

#include <QDir>
#include <QObject>
#include <QStandardPaths>
#include <cstdint>
#include <iostream>
#include <limits>
#include <mutex>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/SyncString.h"

namespace {

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

// The log knows no folders of its own: it asks for this one with its first line.
const bool kLogFolderKnown = (set_log_folder_source(&get_applogs_dir), true);

}  // namespace

std::string get_distri_id() { return "official"; }
std::string get_current_version() { return "1.1.6"; }
std::string get_product_name() { return QObject::tr("Kovadle").toUtf8().toStdString(); }
std::string get_official_site() { return kOfficialSite; }

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
  (void)kLogFolderKnown;
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
