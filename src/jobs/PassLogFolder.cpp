#include "jobs/PassLogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "log/LogUtil.h"
#include "text/QtText.h"

namespace {

QString namePrefix(const std::string& jobID) { return QStringLiteral("kovadle-") + to_qstring(jobID) + '-'; }

}  // namespace

PassLogFolder::PassLogFolder(const std::string& jobID)
    : folder_(std::make_unique<QTemporaryDir>(QDir::tempPath() + '/' + namePrefix(jobID) + "XXXXXX")) {}

PassLogFolder::~PassLogFolder() = default;

bool PassLogFolder::Valid(std::string* error) const {
  if (folder_->isValid()) return true;
  if (error != nullptr) *error = to_utf8(folder_->errorString());
  return false;
}

std::string PassLogFolder::Path() const { return to_utf8(QDir::toNativeSeparators(folder_->path())); }

std::string PassLogFolder::Prefix() const {
  return to_utf8(QDir::toNativeSeparators(folder_->filePath(QStringLiteral("pass"))));
}

int PassLogFolder::RemoveLeftovers(const std::string& jobID) {
  QDir temp(QDir::tempPath());
  int removed = 0;
  // Folders only, never what a link of that name leads to.
  for (const QFileInfo& entry :
       temp.entryInfoList({namePrefix(jobID) + "??????"}, QDir::Dirs | QDir::NoSymLinks | QDir::Hidden)) {
    if (!QDir(entry.filePath()).removeRecursively()) continue;
    log_info("PassLogFolder::RemoveLeftovers, removed:" + to_utf8(entry.filePath()));
    ++removed;
  }
  return removed;
}
