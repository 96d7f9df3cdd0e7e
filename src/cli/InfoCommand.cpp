#include "cli/InfoCommand.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/CliInput.h"
#include "jobs/JobEngine.h"
#include "text/TerminalText.h"

namespace {

// The engine's judgement of the file, its refusal as the window shows it ("!").
struct Description {
  std::string path;
  MediaInfo info;
  std::string refusal;
  std::string resolutionClass;
  std::vector<std::string> qualities;
};

Description describe(const std::string& path) {
  const PreparedInput input = JobEngine::Prepare(path);
  return {path, input.info, input.Accepted() ? std::string() : input.refusal + "!", input.resolutionClass,
          input.qualities};
}

std::string asText(const Description& file) {
  std::string text = "File: " + TerminalText::Escaped(file.path) + "\n";
  for (const auto& entry : file.info.ToMap())
    text += entry.first + ": " + TerminalText::Escaped(entry.second) + "\n";
  if (!file.refusal.empty()) return text + "Refusal: " + file.refusal + "\n";
  return text + "ResolutionClass: " + file.resolutionClass +
         "\nQualities: " + CliInput::Joined(file.qualities) + "\n";
}

std::string asJson(const Description& file) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  auto string = [&writer](const std::string& text) {
    writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
  };
  writer.StartObject();
  string("File");
  string(file.path);
  string("MediaInfo");
  writer.StartObject();
  for (const auto& entry : file.info.ToMap()) {
    string(entry.first);
    string(entry.second);
  }
  writer.EndObject();
  if (!file.refusal.empty()) {
    string("Refusal");
    string(file.refusal);
  } else {
    string("ResolutionClass");
    string(file.resolutionClass);
    string("Qualities");
    writer.StartArray();
    for (const std::string& key : file.qualities) string(key);
    writer.EndArray();
  }
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace

int InfoCommand::Run(const QStringList& files, bool json) {
  int status = cli_exit::kOk;
  bool first = true;
  for (const QString& argument : files) {
    const std::string path = CliInput::Resolve(argument);
    if (path.empty()) {
      status = cli_exit::kFailed;
      continue;
    }
    const Description file = describe(path);
    if (!file.refusal.empty()) status = cli_exit::kFailed;
    if (json) {
      CliConsole::Out(asJson(file));
    } else {
      CliConsole::Out((first ? "" : "\n") + asText(file));
      first = false;
    }
  }
  return status;
}
