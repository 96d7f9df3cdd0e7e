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

// Audio tracks, then subtitles, each as the fields a player shows.
struct Listed {
  const char* key;  // "AudioTrack", numbered from 1 in the text
  MediaTrack::Kind kind;
};
const Listed kListed[] = {{"AudioTrack", MediaTrack::Kind::Audio},
                          {"SubtitleTrack", MediaTrack::Kind::Subtitle}};

std::string trackText(const MediaTrack& track) {
  // The title last: everything after "title=" is the title.
  return "index=" + std::to_string(track.index) + " codec=" + TerminalText::Escaped(track.codec) +
         " language=" + TerminalText::Escaped(track.language) +
         " default=" + (track.isDefault ? "true" : "false") + " forced=" + (track.forced ? "true" : "false") +
         " title=" + TerminalText::Escaped(track.title);
}

std::string asText(const Description& file) {
  std::string text = "File: " + TerminalText::Escaped(file.path) + "\n";
  for (const auto& entry : file.info.ToMap())
    text += entry.first + ": " + TerminalText::Escaped(entry.second) + "\n";
  for (const Listed& listed : kListed) {
    int number = 0;
    for (const MediaTrack& track : file.info.TracksOf(listed.kind))
      text += listed.key + std::to_string(++number) + ": " + trackText(track) + "\n";
  }
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
  for (const Listed& listed : kListed) {
    string(std::string(listed.key) + "s");
    writer.StartArray();
    for (const MediaTrack& track : file.info.TracksOf(listed.kind)) {
      writer.StartObject();
      // Texts, as every value of the record is.
      const std::pair<const char*, std::string> fields[] = {{"Index", std::to_string(track.index)},
                                                            {"Codec", track.codec},
                                                            {"Language", track.language},
                                                            {"Title", track.title},
                                                            {"Default", track.isDefault ? "true" : "false"},
                                                            {"Forced", track.forced ? "true" : "false"}};
      for (const auto& field : fields) {
        string(field.first);
        string(field.second);
      }
      writer.EndObject();
    }
    writer.EndArray();
  }
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
