#include "jobs/JobOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"

namespace {

// Creates the file only if nothing has the name yet (a dangling link counts): the
// system guarantees that one creator wins.
bool createExclusive(const std::string& path, std::string* error) {
  QFile file(to_qstring(path));
  if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Text)) {
    if (error != nullptr) *error = to_utf8(file.errorString());
    return false;
  }
  // A line end, as the placeholder of a waiting job always held.
  QTextStream stream(&file);
  stream << Qt::endl;
  return true;
}

// Someone else's file under the name; a new try may find the next name free.
constexpr int kMostTries = 64;

}  // namespace

std::string JobOutput::Reserve(const std::string& wanted, const std::string& inputPath, std::string* error) {
  std::string candidate = wanted;
  std::string reason;
  for (int attempt = 0; attempt < kMostTries; ++attempt) {
    if (createExclusive(candidate, &reason)) {
      if (candidate != wanted)
        log_info("JobOutput::Reserve, taken meanwhile:" + wanted + ",now:" + candidate);
      return candidate;
    }
    // Anything but an existing name (a missing folder, a full disk) ends the search.
    if (!OSUtil::isPathTaken(candidate)) break;
    candidate = OSUtil::getUniqueOutputPath(OSUtil::getFileDir(wanted), OSUtil::getFileName(inputPath),
                                            OSUtil::getFileExtension(wanted));
  }
  log_info("Error,JobOutput::Reserve,cannot create:" + candidate + ",reason:" + reason);
  if (error != nullptr) *error = reason;
  return std::string();
}

bool JobOutput::IsReservation(const std::string& path) {
  const QFileInfo info(to_qstring(path));
  return info.isFile() && !info.isSymLink() && info.size() <= 2;
}

std::string JobOutput::PartialPath(const std::string& finalPath, const std::string& jobID) {
  return OSUtil::pathJoin(OSUtil::getFileDir(finalPath),
                          "." + jobID + ".part" + OSUtil::getFileExtension(finalPath));
}

bool JobOutput::Finish(const std::string& partialPath, const std::string& finalPath, std::string* error) {
  return OSUtil::replaceFile(partialPath, finalPath, error);
}

void JobOutput::Discard(const std::string& partialPath, const std::string& finalPath) {
  if (OSUtil::isPathTaken(partialPath)) OSUtil::removeFile(partialPath);
  if (IsReservation(finalPath)) OSUtil::removeFile(finalPath);
}
