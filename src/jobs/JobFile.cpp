#include "jobs/JobFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <utility>

#include "environment/AppConstants.h"
#include "jobs/JobOwnership.h"
#include "log/LogUtil.h"
#include "platform/OSUtil.h"
#include "text/SimpleJson.h"
#include "text/StringUtil.h"
#include "text/TimeUtil.h"

struct JobFile::Fields {
  std::string jobID;
  std::string generatedTime;
  std::string inputFile;
  std::string outputFile;
  std::string quality;
  std::string outputCodec;
  std::string outputFormat;
  bool keepAllTracks = false;
  std::string outcome;
  std::vector<std::string> errorLines;
  JobReason reason;
  std::string progressReached;
  std::string encodeSeconds;
  int64_t outputSize = -1;
  int64_t outputModified = -1;
  int64_t targetBytes = 0;
  int64_t oversizedBytes = -1;
};

namespace {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (const std::string& line : StringUtil::split(text, '\n')) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// A member the first job files did not have: empty when missing. Read without an
// exception: most files lack most of them, and tens of thousands are read at start.
std::string optionalMember(const SimpleJson& json, const char* key) {
  std::string value;
  json.try_get(key, &value);
  return value;
}

// A figure written as a decimal text: the whole text a non-negative number, else
// unknown (-1), whatever the process locale.
double figureOf(const std::string& text) {
  double value = -1;
  const char* end = text.data() + text.size();
  const auto read = std::from_chars(text.data(), end, value);
  if (read.ec != std::errc() || read.ptr != end) return -1;
  return value >= 0 && value < 1e12 ? value : -1;
}

// A whole number member written by this program; -1 when missing or not one.
int64_t numberMember(const SimpleJson& json, const char* key) {
  const std::string text = optionalMember(json, key);
  if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return StringUtil::str_to_int64(text);
}

const char kOutputIsInput[] = "the output file is the input file itself";

}  // namespace

JobFile::JobFile() : fields_(std::make_unique<Fields>()) {}

JobFile::~JobFile() { delete ownership_.load(); }

void JobFile::setPath(const std::string& path) {
  path_ = path;
  delete ownership_.exchange(nullptr);
}

std::string JobFile::folder() const { return OSUtil::getFileDir(path_); }

JobOwnership* JobFile::ownership() const {
  JobOwnership* current = ownership_.load();
  if (current != nullptr || path_.empty()) return current;
  auto made = std::make_unique<JobOwnership>(folder(), GetJobID());
  // Two threads may ask at once: the first one's stays.
  if (ownership_.compare_exchange_strong(current, made.get())) return made.release();
  return current;
}

bool JobFile::Init(const std::string& inputFile, const std::string& outputFile, const std::string& quality,
                   const std::string& outputCodec, const std::string& outputFormat, bool keepAllTracks,
                   const std::string& jobID, int64_t targetBytes) {
  if (OSUtil::isSameFile(inputFile, outputFile)) {
    std::lock_guard<std::mutex> guard(saveLock_);
    lastSaveError_ = kOutputIsInput;
    log_info("Error,JobFile::Init, refused:" + outputFile + "," + kOutputIsInput);
    return false;
  }
  {
    std::lock_guard<std::mutex> guard(fieldsLock_);
    fields_ = std::make_unique<Fields>();
    fields_->jobID = IsJobID(jobID) ? jobID : OSUtil::createGuid();
    fields_->generatedTime = TimeUtil::datetime_stamp();
    fields_->inputFile = inputFile;
    fields_->outputFile = outputFile;
    fields_->quality = quality;
    fields_->outputCodec = outputCodec;
    fields_->outputFormat = outputFormat;
    fields_->keepAllTracks = keepAllTracks;
    fields_->targetBytes = targetBytes > 0 ? targetBytes : 0;
  }
  isCompleted_ = false;
  isDeleted_ = false;
  isStopped_ = false;
  setPath(OSUtil::pathJoin(get_appjobfile_dir(), fields_->jobID + ".jobfile"));
  // Owned before its file exists: no other process can take up the new job.
  TakeOwnership();
  return Save();
}

void JobFile::Load(const std::string& path) {
  SimpleJson json;
  json.load_file(path);
  // Read everything before storing anything, so a bad file leaves the record as it was.
  auto fields = std::make_unique<Fields>();
  fields->jobID = json.get("JobID");
  fields->generatedTime = json.get("GeneratedTime");
  fields->inputFile = json.get("InputFile");
  fields->outputFile = json.get("OutputFile");
  fields->quality = json.get("Quality");
  fields->outputCodec = json.get("OutputCodec");
  fields->outputFormat = json.get("OutputFormat");
  const bool isCompleted = StringUtil::str_to_bool(json.get("IsCompleted"));
  const bool isDeleted = StringUtil::str_to_bool(json.get("IsDeleted"));
  const bool isStopped = StringUtil::str_to_bool(json.get("IsStopped"));
  fields->keepAllTracks = optionalMember(json, "KeepAllTracks") == "true";
  fields->outcome = optionalMember(json, "Outcome");
  fields->errorLines = splitLines(optionalMember(json, "ErrorLines"));
  fields->reason.code = optionalMember(json, "ReasonCode");
  fields->reason.args = JobReason::ArgsFromText(optionalMember(json, "ReasonArgs"));
  fields->progressReached = optionalMember(json, "ProgressReached");
  fields->encodeSeconds = optionalMember(json, "EncodeSeconds");
  fields->outputSize = numberMember(json, "OutputSize");
  fields->outputModified = numberMember(json, "OutputModified");
  // A size that does not read as one leaves the job at its quality.
  fields->targetBytes = std::max<int64_t>(0, numberMember(json, "TargetSize"));
  fields->oversizedBytes = numberMember(json, "OversizedOutput");
  // The JobID names the job's lock and partial output files: nothing but a GUID may.
  if (!IsJobID(fields->jobID)) throw std::string("the JobID is not a GUID");
  // Whatever the job did or deletes with its output would happen to its input.
  if (OSUtil::isSameFile(fields->inputFile, fields->outputFile)) throw std::string(kOutputIsInput);
  {
    std::lock_guard<std::mutex> guard(fieldsLock_);
    fields_ = std::move(fields);
  }
  isCompleted_ = isCompleted;
  isDeleted_ = isDeleted;
  isStopped_ = isStopped;
  if (path != path_) setPath(path);
}

bool JobFile::Reload() {
  const std::string jobID = GetJobID();
  try {
    JobFile fresh;
    fresh.Load(path_);
    if (fresh.GetJobID() != jobID) return false;
    {
      std::lock_guard<std::mutex> guard(fieldsLock_);
      std::lock_guard<std::mutex> theirs(fresh.fieldsLock_);
      fields_ = std::move(fresh.fields_);
      fresh.fields_ = std::make_unique<Fields>();
    }
    isCompleted_ = fresh.GetIsCompleted();
    isDeleted_ = fresh.GetIsDeleted();
    isStopped_ = fresh.GetIsStopped();
    return true;
  } catch (const std::string& reason) {
    log_info("JobFile::Reload, cannot read:" + path_ + ",reason:" + reason);
    return false;
  }
}

JobFile::Fields JobFile::copyFields() const {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  return *fields_;
}

bool JobFile::Save() {
  std::lock_guard<std::mutex> guard(saveLock_);
  if (removed_) return false;
  const Fields fields = copyFields();
  SimpleJson json;
  json.parse("{}");
  json.set("JobID", fields.jobID);
  json.set("GeneratedTime", fields.generatedTime);
  json.set("InputFile", fields.inputFile);
  json.set("OutputFile", fields.outputFile);
  json.set("Quality", fields.quality);
  json.set("OutputCodec", fields.outputCodec);
  json.set("OutputFormat", fields.outputFormat);
  json.set("IsCompleted", StringUtil::bool_to_str(isCompleted_));
  json.set("IsDeleted", StringUtil::bool_to_str(isDeleted_));
  json.set("IsStopped", StringUtil::bool_to_str(isStopped_));
  if (fields.keepAllTracks) json.set("KeepAllTracks", "true");
  json.set("Outcome", fields.outcome);
  json.set("ErrorLines", joinLines(fields.errorLines));
  // Newer members only when they say something: older programs never see them empty.
  if (!fields.reason.Empty()) {
    json.set("ReasonCode", fields.reason.code);
    json.set("ReasonArgs", fields.reason.ArgsText());
  }
  if (!fields.progressReached.empty()) json.set("ProgressReached", fields.progressReached);
  if (!fields.encodeSeconds.empty()) json.set("EncodeSeconds", fields.encodeSeconds);
  if (fields.targetBytes > 0) json.set("TargetSize", std::to_string(fields.targetBytes));
  if (fields.oversizedBytes >= 0) json.set("OversizedOutput", std::to_string(fields.oversizedBytes));
  if (fields.outputSize >= 0 && fields.outputModified >= 0) {
    json.set("OutputSize", std::to_string(fields.outputSize));
    json.set("OutputModified", std::to_string(fields.outputModified));
  }
  std::string error;
  const bool saved = json.save_file(path_, &error);
  lastSaveError_ = saved ? std::string() : error;
  needsSave_ = !saved;
  if (!saved) log_info("Error,JobFile::Save,cannot write:" + path_ + ",reason:" + error);
  return saved;
}

std::string JobFile::LastSaveError() const {
  std::lock_guard<std::mutex> guard(saveLock_);
  return lastSaveError_;
}

void JobFile::MarkRemoved() {
  std::lock_guard<std::mutex> guard(saveLock_);
  removed_ = true;
}

bool JobFile::TakeOwnership() {
  JobOwnership* ownership = this->ownership();
  if (ownership == nullptr) return false;
  const bool wasHeld = ownership->IsHeld();
  if (!ownership->Take()) return false;
  if (!wasHeld && !needsSave_ && QFileInfo::exists(QString::fromStdString(path_))) Reload();
  return true;
}

void JobFile::ReleaseOwnership() {
  if (JobOwnership* ownership = ownership_.load()) ownership->Release();
}

bool JobFile::IsOwnedHere() const {
  const JobOwnership* ownership = ownership_.load();
  return ownership != nullptr && ownership->IsHeld();
}

bool JobFile::IsOwnedElsewhere() const {
  return !path_.empty() && !IsOwnedHere() && JobOwnership::IsHeldElsewhere(folder(), GetJobID());
}

JobState JobFile::ElsewhereState() const {
  if (path_.empty() || IsOwnedHere()) return JobState::Idle;
  const JobOwnership::Holder holder = JobOwnership::ReadHolder(folder(), GetJobID());
  return holder.live ? holder.state : JobState::Idle;
}

void JobFile::SetRunState(JobState state, int64_t waitingSince) {
  // A lock never made was never taken: there is nothing to tell.
  if (JobOwnership* ownership = ownership_.load()) ownership->SetState(state, waitingSince);
}

template <typename Value>
Value JobFile::field(Value Fields::*member) const {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  return (*fields_).*member;
}

std::string JobFile::GetJobID() const { return field(&Fields::jobID); }
std::string JobFile::GetGeneratedTime() const { return field(&Fields::generatedTime); }
std::string JobFile::GetInputFile() const { return field(&Fields::inputFile); }
std::string JobFile::GetOutputFile() const { return field(&Fields::outputFile); }
std::string JobFile::GetQuality() const { return field(&Fields::quality); }
std::string JobFile::GetOutputCodec() const { return field(&Fields::outputCodec); }
std::string JobFile::GetOutputFormat() const { return field(&Fields::outputFormat); }
bool JobFile::GetKeepAllTracks() const { return field(&Fields::keepAllTracks); }
int64_t JobFile::GetTargetBytes() const { return field(&Fields::targetBytes); }
int64_t JobFile::GetOversizedBytes() const { return field(&Fields::oversizedBytes); }
std::string JobFile::GetOutcome() const { return field(&Fields::outcome); }
std::vector<std::string> JobFile::GetErrorLines() const { return field(&Fields::errorLines); }

JobReason JobFile::GetReason() const { return field(&Fields::reason); }

double JobFile::GetProgressReached() const { return figureOf(field(&Fields::progressReached)); }

double JobFile::GetEncodeSeconds() const { return figureOf(field(&Fields::encodeSeconds)); }

std::string JobFile::GetFailureReason() const {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  if (fields_->outcome != "failed" || fields_->errorLines.empty()) return std::string();
  return fields_->errorLines.front();
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

void JobFile::SetFlags(bool completed, bool deleted, bool stopped) {
  isCompleted_ = completed;
  isDeleted_ = deleted;
  isStopped_ = stopped;
}

void JobFile::SetOutcome(const std::string& outcome, const std::vector<std::string>& errorLines) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->outcome = outcome;
  fields_->errorLines = errorLines;
}

void JobFile::SetReason(const JobReason& reason) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->reason = reason;
}

void JobFile::SetProgressReached(double fraction) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->progressReached = fraction >= 0 ? StringUtil::double_to_fixed_str(std::min(fraction, 1.0), 4) : "";
}

void JobFile::SetEncodeSeconds(double seconds) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->encodeSeconds = seconds >= 0 ? StringUtil::double_to_fixed_str(seconds, 1) : "";
}

void JobFile::SetOversizedBytes(int64_t bytes) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->oversizedBytes = bytes >= 0 ? bytes : -1;
}

void JobFile::SetOutputFile(const std::string& outputFile) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->outputFile = outputFile;
}

void JobFile::SetOutputIdentity(int64_t size, int64_t modifiedMs) {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  fields_->outputSize = size;
  fields_->outputModified = modifiedMs;
}

bool JobFile::GetOutputIdentity(int64_t* size, int64_t* modifiedMs) const {
  std::lock_guard<std::mutex> guard(fieldsLock_);
  if (fields_->outputSize < 0 || fields_->outputModified < 0) return false;
  *size = fields_->outputSize;
  *modifiedMs = fields_->outputModified;
  return true;
}

bool JobFile::IsJobID(const std::string& text) {
  static const QRegularExpression kGuid(
      QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
  return kGuid.match(QString::fromStdString(text)).hasMatch();
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
  // (or lock file's) own name and six random letters or digits.
  static const QRegularExpression kTempName(QStringLiteral(
      "^([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})\\.(jobfile|lock)\\.[A-Za-z0-9]{6}$"));
  QDir dir(QString::fromUtf8(folder.c_str()), QString(), QDir::Unsorted, QDir::Files | QDir::Hidden);
  dir.setNameFilters({QStringLiteral("*.jobfile.*"), QStringLiteral("*.lock.*")});
  int removed = 0;
  for (const QFileInfo& info : dir.entryInfoList()) {
    const QRegularExpressionMatch name = kTempName.match(info.fileName());
    // A lock's ".rmlock" guard is JobOwnership's to judge.
    if (info.isSymLink() || !name.hasMatch() || info.fileName().endsWith(QStringLiteral(".rmlock"))) continue;
    // Its job's owner may be writing it right now.
    if (JobOwnership::IsHeldElsewhere(folder, name.captured(1).toStdString())) continue;
    const std::string path = OSUtil::pathJoin(folder, info.fileName().toUtf8().toStdString());
    if (QFile::remove(info.filePath())) {
      log_info("JobFile::RemoveStaleTempFiles, removed:" + path);
      ++removed;
    }
  }
  return removed;
}
