#include "cli/JobsJson.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "jobs/JobView.h"

std::string JobsJson::Line(const JobView& job, const std::string& state) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  auto string = [&writer](const std::string& text) {
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
  };
  auto member = [&](const char* key, const std::string& value) {
    string(key);
    string(value);
  };
  // A figure only when it is known.
  auto figure = [&](const char* key, double value) {
    if (value < 0) return;
    string(key);
    writer.Double(value);
  };
  writer.StartObject();
  member("JobID", job.jobID);
  member("Table", JobStateRules::TabName(job.tab));
  member("State", state);
  member("Quality", job.quality);
  member("Input", job.inputFile);
  member("Output", job.outputFile);
  member("OutputFormat", job.outputFormat);
  member("OutputCodec", job.outputCodec);
  member("GeneratedTime", job.generatedTime);
  if (job.recorded == JobState::Failed) {
    // Ours in English where the job file has our code; else the line it kept.
    const std::string english = job.why.English();
    member("Reason", english.empty() ? job.reason : english);
    if (!job.why.Empty()) {
      member("ReasonCode", job.why.code);
      string("ReasonArgs");
      writer.StartArray();
      for (const std::string& arg : job.why.args) string(arg);
      writer.EndArray();
    }
    string("ErrorLines");
    writer.StartArray();
    for (const std::string& line : job.errorLines) string(line);
    writer.EndArray();
  }
  if (job.targetBytes > 0) member("TargetSize", std::to_string(job.targetBytes));
  if (job.oversizedBytes >= 0) member("OversizedOutput", std::to_string(job.oversizedBytes));
  figure("ProgressReached", job.progressReached);
  figure("EncodeSeconds", job.encodeSeconds);
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}
