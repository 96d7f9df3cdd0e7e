#include "jobs/JobFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <utility>

#include "Util/AppConstants.h"
#include "Util/LogUtil.h"
#include "Util/OSUtil.h"
#include "Util/SimpleJson.h"
#include "Util/StringUtil.h"
#include "Util/TimeUtil.h"

void JobFile::Init(const std::string& inputFile, const std::string& outputFile, const std::string& quality,
                   const std::string& outputCodec, const std::string& outputFormat) {
  jobID_ = OSUtil::createGuid();
  generatedTime_ = TimeUtil::datetime_stamp();
  inputFile_ = inputFile;
  outputFile_ = outputFile;
  quality_ = quality;
  outputCodec_ = outputCodec;
  outputFormat_ = outputFormat;
  isCompleted_ = false;
  isDeleted_ = false;
  isStopped_ = false;
  path_ = OSUtil::pathJoin(get_appjobfile_dir(), jobID_ + ".jobfile");
  Save();
}

void JobFile::Load(const std::string& path) {
  SimpleJson json;
  json.load_file(path);
  // Read everything before storing anything, so a bad file leaves the record as it was.
  std::string jobID = json.get("JobID");
  std::string generatedTime = json.get("GeneratedTime");
  std::string inputFile = json.get("InputFile");
  std::string outputFile = json.get("OutputFile");
  std::string quality = json.get("Quality");
  std::string outputCodec = json.get("OutputCodec");
  std::string outputFormat = json.get("OutputFormat");
  const bool isCompleted = StringUtil::str_to_bool(json.get("IsCompleted"));
  const bool isDeleted = StringUtil::str_to_bool(json.get("IsDeleted"));
  const bool isStopped = StringUtil::str_to_bool(json.get("IsStopped"));
  jobID_ = std::move(jobID);
  generatedTime_ = std::move(generatedTime);
  inputFile_ = std::move(inputFile);
  outputFile_ = std::move(outputFile);
  quality_ = std::move(quality);
  outputCodec_ = std::move(outputCodec);
  outputFormat_ = std::move(outputFormat);
  isCompleted_ = isCompleted;
  isDeleted_ = isDeleted;
  isStopped_ = isStopped;
  path_ = path;
}

bool JobFile::Save() {
  std::lock_guard<std::mutex> guard(lock_);
  if (removed_) return false;
  SimpleJson json;
  json.parse("{}");
  json.set("JobID", jobID_);
  json.set("GeneratedTime", generatedTime_);
  json.set("InputFile", inputFile_);
  json.set("OutputFile", outputFile_);
  json.set("Quality", quality_);
  json.set("OutputCodec", outputCodec_);
  json.set("OutputFormat", outputFormat_);
  json.set("IsCompleted", StringUtil::bool_to_str(isCompleted_));
  json.set("IsDeleted", StringUtil::bool_to_str(isDeleted_));
  json.set("IsStopped", StringUtil::bool_to_str(isStopped_));
  return json.save_file(path_);
}

void JobFile::MarkRemoved() {
  std::lock_guard<std::mutex> guard(lock_);
  removed_ = true;
}

void JobFile::SetIsCompleted(bool value) {
  isCompleted_ = value;
  Save();
}

void JobFile::SetIsDeleted(bool value) {
  isDeleted_ = value;
  Save();
}

void JobFile::SetIsStopped(bool value) {
  isStopped_ = value;
  Save();
}

std::vector<std::string> JobFile::ListJobFiles() { return ListJobFiles(get_appjobfile_dir()); }

std::vector<std::string> JobFile::ListJobFiles(const std::string& folder) {
  // QDir's own time sort re-reads the time on every comparison, which costs seconds
  // with thousands of jobs: read each time once and sort those. Equal times keep
  // the order QDir's reversed time sort gives.
  QDir dir(QString::fromUtf8(folder.c_str()), QStringLiteral("*.jobfile"), QDir::Unsorted, QDir::Files);
  struct Entry {
    qint64 modified;
    QString name;
  };
  std::vector<Entry> entries;
  for (const QFileInfo& info : dir.entryInfoList()) {
    entries.push_back({info.lastModified().toMSecsSinceEpoch(), info.fileName()});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.modified != b.modified) return a.modified < b.modified;
    return a.name > b.name;
  });
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (const Entry& entry : entries) {
    paths.push_back(OSUtil::pathJoin(folder, entry.name.toUtf8().toStdString()));
  }
  return paths;
}

int JobFile::RemoveStaleTempFiles(const std::string& folder) {
  // The name an atomic save gives its new content before the rename: the job file's
  // own name and six random letters or digits.
  static const QRegularExpression kTempName(QStringLiteral(
      "^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}\\.jobfile\\.[A-Za-z0-9]{6}$"));
  QDir dir(QString::fromUtf8(folder.c_str()), QStringLiteral("*.jobfile.*"), QDir::Unsorted,
           QDir::Files | QDir::Hidden);
  int removed = 0;
  for (const QFileInfo& info : dir.entryInfoList()) {
    if (info.isSymLink() || !kTempName.match(info.fileName()).hasMatch()) continue;
    const std::string path = OSUtil::pathJoin(folder, info.fileName().toUtf8().toStdString());
    if (QFile::remove(info.filePath())) {
      log_info("JobFile::RemoveStaleTempFiles, removed:" + path);
      ++removed;
    }
  }
  return removed;
}
