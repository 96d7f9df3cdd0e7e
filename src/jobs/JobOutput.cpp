#include "jobs/JobOutput.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include "log/LogUtil.h"
#include "platform/ExclusiveFile.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"

namespace {

// Someone else's file under the name; a new try may find the next name free.
constexpr int kMostTries = 64;

std::string nextName(const std::string& wanted, const std::string& inputPath) {
  return OSUtil::getUniqueOutputPath(OSUtil::getFileDir(wanted), OSUtil::getFileName(inputPath),
                                     OSUtil::getFileExtension(wanted));
}

}  // namespace

std::string JobOutput::Reserve(const std::string& wanted, const std::string& inputPath,
                               const std::string& jobID, std::string* error) {
  std::string candidate = wanted;
  std::string reason;
  for (int attempt = 0; attempt < kMostTries; ++attempt) {
    if (!OSUtil::isSameFile(candidate, inputPath)) {
      // The system lets one creator win; the job's own reservation from before counts.
      const CreateOutcome made =
          OSUtil::createNewFile(OSUtil::outputReservationPath(candidate), jobID + "\n", &reason);
      if (made == CreateOutcome::Failed) break;
      if (made == CreateOutcome::Created || IsReservedFor(candidate, jobID)) {
        if (!OSUtil::isPathTaken(candidate)) {
          if (candidate != wanted) {
            Release(wanted, jobID);
            log_info("JobOutput::Reserve, taken meanwhile:" + wanted + ",now:" + candidate);
          }
          return candidate;
        }
        Release(candidate, jobID);
      }
    }
    candidate = nextName(wanted, inputPath);
  }
  log_info("Error,JobOutput::Reserve,cannot create:" + candidate + ",reason:" + reason);
  if (error != nullptr) *error = reason;
  return std::string();
}

bool JobOutput::IsReservedFor(const std::string& finalPath, const std::string& jobID) {
  std::string text;
  return OSUtil::readRegularFile(OSUtil::outputReservationPath(finalPath), 256, &text) == ReadOutcome::Read &&
         text == jobID + "\n";
}

void JobOutput::Release(const std::string& finalPath, const std::string& jobID) {
  if (IsReservedFor(finalPath, jobID)) OSUtil::removeFile(OSUtil::outputReservationPath(finalPath));
}

std::string JobOutput::PartialPath(const std::string& finalPath, const std::string& jobID) {
  return OSUtil::pathJoin(OSUtil::getFileDir(finalPath),
                          "." + jobID + ".part" + OSUtil::getFileExtension(finalPath));
}

std::string JobOutput::TakeFinalName(const ExclusiveFile& partial, const std::string& finalPath,
                                     const std::string& inputPath, const std::string& jobID,
                                     std::string* error) {
  const std::string partialPath = PartialPath(finalPath, jobID);
  std::string target = finalPath;
  std::string reason;
  for (int attempt = 0; attempt < kMostTries; ++attempt) {
    if (!partial.IsAt(partialPath)) {
      reason = "the partial file was removed or replaced";
      break;
    }
    const MoveOutcome moved = OSUtil::moveWithoutReplacing(partialPath, target, &reason);
    if (moved == MoveOutcome::Moved) {
      Release(finalPath, jobID);
      Release(target, jobID);
      if (target != finalPath)
        log_info("JobOutput::TakeFinalName, taken meanwhile:" + finalPath + ",now:" + target);
      return target;
    }
    if (moved == MoveOutcome::Failed) break;
    // Something has the name by now: the next free one, held first like any other.
    const std::string next = Reserve(nextName(finalPath, inputPath), inputPath, jobID, &reason);
    if (next.empty()) break;
    if (target != finalPath) Release(target, jobID);
    target = next;
  }
  if (target != finalPath) Release(target, jobID);
  log_info("Error,JobOutput::TakeFinalName, cannot move:" + partialPath + ",to:" + target +
           ",reason:" + reason);
  if (error != nullptr) *error = reason;
  return std::string();
}

void JobOutput::RemoveLeftovers(const std::string& finalPath, const std::string& jobID, bool partialToo) {
  const std::string partialPath = PartialPath(finalPath, jobID);
  if (partialToo && OSUtil::readRegularFile(partialPath, 0, nullptr) == ReadOutcome::Read)
    OSUtil::removeFile(partialPath);
  Release(finalPath, jobID);
}

bool JobOutput::IsOldPlaceholder(const std::string& path) {
  std::string text;
  return OSUtil::readRegularFile(path, 3, &text) == ReadOutcome::Read && (text == "\n" || text == "\r\n");
}

bool JobOutput::IdentityOf(const std::string& path, int64_t* size, int64_t* modifiedMs) {
  const QFileInfo info(to_qstring(path));
  if (info.isSymLink() || !info.isFile()) return false;
  *size = info.size();
  *modifiedMs = info.lastModified().toMSecsSinceEpoch();
  return true;
}
