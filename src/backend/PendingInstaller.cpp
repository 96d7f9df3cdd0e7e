#include "backend/PendingInstaller.h"

#include <QFileInfo>
#include <iostream>
#include <mutex>
#include <vector>

#include "backend/BackendApi.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "text/StringUtil.h"
#include "text/TxtUtil.h"

namespace {

// A record's installer version and force flag; false when the record is not of
// the form "<version>,<true|false>".
bool read_record(const std::string& text, std::string& version, bool& force) {
  const std::vector<std::string> fields = StringUtil::split(StringUtil::trim(text), ',');
  if (fields.size() < 2) return false;
  version = StringUtil::trim(fields[0]);
  if (!StringUtil::version_valid(version)) return false;
  try {
    force = StringUtil::str_to_bool(StringUtil::trim(fields[1]));
  } catch (const std::string&) {
    return false;
  }
  return true;
}

std::mutex& launcher_lock() {
  static std::mutex lock;
  return lock;
}

PendingInstaller::Launcher& launcher() {
  static PendingInstaller::Launcher installed;
  return installed;
}

}  // namespace

bool PendingInstaller::launch(const std::string& installer) {
  PendingInstaller::Launcher chosen;
  {
    std::lock_guard<std::mutex> guard(launcher_lock());
    chosen = launcher();
  }
  if (chosen) return chosen(installer);
  return start_installer(installer);
}

void PendingInstaller::set_launcher(Launcher replacement) {
  std::lock_guard<std::mutex> guard(launcher_lock());
  launcher() = std::move(replacement);
}

bool PendingInstaller::installer_trusted(const std::string& folder, const std::string& installer) {
  const QFileInfo file(to_qstring(installer));
  if (file.isSymLink() || !file.isFile()) return false;
  const QString inside = QFileInfo(file.canonicalFilePath()).canonicalPath();
  return !inside.isEmpty() && inside == QFileInfo(to_qstring(folder)).canonicalFilePath();
}

std::string PendingInstaller::installer_path(const std::string& folder, const std::string& version) {
  return OSUtil::pathJoin(folder, "installer_" + version + OSUtil::executableSuffix());
}

std::optional<PendingInstaller::Offer> PendingInstaller::check(const std::string& folder,
                                                               const std::string& running_version) {
  if (!OSUtil::isFileExist(folder)) {
    std::cout << "Not find installer_dir:" << folder << "check_new_version end." << std::endl;
    return std::nullopt;
  }
  const std::string record = OSUtil::pathJoin(folder, get_installer_info_file_name());
  if (!OSUtil::isFileExist(record)) {
    std::cout << "Not find success_file:" << record << "check_new_version end." << std::endl;
    const std::string current = installer_path(folder, running_version);
    if (OSUtil::isFileExist(current)) {
      OSUtil::removeFile(current);
      log_info("check_new_version,deleted installer file of current version:" + current);
    }
    return std::nullopt;
  }

  const std::string text = TxtUtil::read_text_file(record);
  Offer offer;
  if (!read_record(text, offer.version, offer.force)) {
    // A damaged record cannot vouch for any installer: drop it and the installer it names.
    const std::vector<std::string> fields = StringUtil::split(StringUtil::trim(text), ',');
    std::string removed;
    if (!fields.empty() && StringUtil::version_valid(StringUtil::trim(fields[0]))) {
      removed = installer_path(folder, StringUtil::trim(fields[0]));
      OSUtil::removeFile(removed);
    }
    OSUtil::removeFile(record);
    log_info("check_new_version,invalid success_file, deleted installer_file:" + removed +
             ",deleted success_file:" + record);
    return std::nullopt;
  }

  offer.installer_path = installer_path(folder, offer.version);
  if (!OSUtil::isFileExist(offer.installer_path) &&
      !QFileInfo(to_qstring(offer.installer_path)).isSymLink()) {
    std::cout << "Not find installer_file:" << offer.installer_path << "check_new_version end." << std::endl;
    return std::nullopt;
  }
  if (!installer_trusted(folder, offer.installer_path)) {
    // A link or anything but a plain file was not put there by a verified download.
    OSUtil::removeFile(offer.installer_path);
    OSUtil::removeFile(record);
    log_info("check_new_version,installer_file is not a regular file in its folder, deleted installer_file:" +
             offer.installer_path + ",deleted success_file:" + record);
    return std::nullopt;
  }
  if (StringUtil::version_compare(offer.version, running_version) != 1) {
    OSUtil::removeFile(offer.installer_path);
    OSUtil::removeFile(record);
    log_info("check_new_version,The downloaded installer is old, deleted installer_file:" +
             offer.installer_path + ",deleted success_file:" + record);
    return std::nullopt;
  }
  return offer;
}

bool PendingInstaller::act_on_answer(const Offer& offer, int answer) {
  switch (answer) {
    case Install:
      log_info("check_new_version,start to install installer_file:" + offer.installer_path);
      // Checked again: the file may have been swapped while the question was open.
      if (!installer_trusted(OSUtil::getFileDir(offer.installer_path), offer.installer_path)) {
        log_info("check_new_version,installer_file is not a regular file in its folder, not started:" +
                 offer.installer_path);
        return false;
      }
      if (!launch(offer.installer_path)) {
        // Ending now would leave the user with neither the new version nor the old.
        log_info("check_new_version,failed to start installer_file:" + offer.installer_path);
        return false;
      }
      return true;
    case NotInstall:
      log_info("check_new_version,User choose to not install this installer:" + offer.installer_path);
      return false;
    case Exit:
      log_info("check_new_version,User choose to exit");
      return true;
    default:
      log_info("check_new_version,Unknown ret:" + std::to_string(answer));
      return true;
  }
}
