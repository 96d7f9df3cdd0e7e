#include "cli/InfoCommand.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "cli/CliInput.h"
#include "jobs/JobEngine.h"
#include "planning/SizePlan.h"
#include "planning/SizeText.h"
#include "text/TerminalText.h"

namespace {

// The engine's judgement of the file, its refusal as the window shows it ("!").
struct Description {
  std::string path;
  MediaInfo info;
  std::string refusal;
  std::string resolutionClass;
  std::vector<std::string> qualities;
  // What the size asked about buys, as (key, value) texts; empty when none was asked.
  std::vector<std::pair<std::string, std::string>> size;
  bool sizeMade = true;
};

const char* verdictName(SizePlan::Verdict verdict) {
  switch (verdict) {
    case SizePlan::Verdict::Planned:
      return "planned";
    case SizePlan::Verdict::Fits:
      return "fits";
    case SizePlan::Verdict::TooSmall:
      return "too-small";
    case SizePlan::Verdict::Unknown:
      break;
  }
  return "unknown";
}

// The plan's figures, each a text as the record's are.
std::vector<std::pair<std::string, std::string>> sizeFigures(const SizePlan& plan) {
  std::vector<std::pair<std::string, std::string>> figures = {{"Size", SizeText::Decimal(plan.targetBytes)},
                                                              {"Verdict", verdictName(plan.verdict)}};
  if (plan.verdict == SizePlan::Verdict::TooSmall)
    figures.emplace_back("Smallest", SizeText::Decimal(plan.smallestBytes));
  if (!plan.Encodable()) return figures;
  const FFmpegParams& params = plan.params;
  figures.insert(figures.end(),
                 {{"Quality", plan.quality},
                  {"Resolution", std::to_string(params.width) + "x" + std::to_string(params.height)},
                  {"Framerate", params.ToMap().at("VideoFramerate")},
                  {"VideoBitrate", std::to_string(params.videoBitrate)},
                  {"AudioBitrate", plan.audioTracks > 0 ? std::to_string(params.audioBitrate) : "0"},
                  {"AudioTracks", std::to_string(plan.audioTracks)},
                  {"Expected", SizeText::Decimal(plan.expectedBytes)}});
  return figures;
}

Description describe(const std::string& path, const InfoCommand::SizeQuestion& question) {
  const PreparedInput input = JobEngine::Prepare(path);
  Description file{path,
                   input.info,
                   input.Accepted() ? std::string() : input.refusal + "!",
                   input.resolutionClass,
                   input.qualities,
                   {},
                   true};
  if (question.bytes > 0 && input.Accepted()) {
    const SizePlan plan = SizePlan::For(input.info, question.bytes, question.format, question.allTracks);
    file.size = sizeFigures(plan);
    file.sizeMade = plan.Encodable();
  }
  return file;
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
  text +=
      "ResolutionClass: " + file.resolutionClass + "\nQualities: " + CliInput::Joined(file.qualities) + "\n";
  // "Size", then "SizeVerdict", "SizeQuality", ...
  for (const auto& figure : file.size)
    text += (figure.first == "Size" ? std::string() : "Size") + figure.first + ": " + figure.second + "\n";
  return text;
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
    if (!file.size.empty()) {
      string("SizePlan");
      writer.StartObject();
      for (const auto& figure : file.size) {
        string(figure.first);
        string(figure.second);
      }
      writer.EndObject();
    }
  }
  writer.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

}  // namespace

int InfoCommand::Run(const QStringList& files, bool json, const SizeQuestion& size) {
  int status = cli_exit::kOk;
  bool first = true;
  for (const QString& argument : files) {
    const std::string path = CliInput::Resolve(argument);
    if (path.empty()) {
      status = cli_exit::kFailed;
      continue;
    }
    const Description file = describe(path, size);
    if (!file.refusal.empty() || !file.sizeMade) status = cli_exit::kFailed;
    if (json) {
      CliConsole::Out(asJson(file));
    } else {
      CliConsole::Out((first ? "" : "\n") + asText(file));
      first = false;
    }
  }
  return status;
}
