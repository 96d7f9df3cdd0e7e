#include "jobs/JobReason.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <QtGlobal>

const char* const JobReason::kNotStarted = "encoder-not-started";
const char* const JobReason::kAbnormalEnd = "encoder-ended-abnormally";
const char* const JobReason::kExitCode = "encoder-exit-code";
const char* const JobReason::kNoVideo = "no-readable-video";
const char* const JobReason::kNoVideoBecause = "no-readable-video-because";
const char* const JobReason::kTooShort = "output-too-short";
const char* const JobReason::kTooShortBecause = "output-too-short-because";
const char* const JobReason::kCannotCreate = "output-cannot-be-created";
const char* const JobReason::kCannotMove = "output-cannot-be-moved";
const char* const JobReason::kOutputReplaced = "output-replaced-while-written";
const char* const JobReason::kKeptAs = "whole-output-kept-as";
const char* const JobReason::kLengthUnknown = "input-length-unknown";
const char* const JobReason::kLengthUnknownBecause = "input-length-unknown-because";
const char* const JobReason::kOverTarget = "output-over-target-size";
const char* const JobReason::kSizeTooSmall = "target-size-too-small";
const char* const JobReason::kSizeUnplanned = "target-size-not-planned";

const char* JobReason::Template(const std::string& code) {
  static const struct {
    const char* code;
    const char* text;
  } kTexts[] = {
      {kNotStarted, QT_TRANSLATE_NOOP("JobReason", "The encoder could not be started")},
      {kAbnormalEnd, QT_TRANSLATE_NOOP("JobReason", "The encoder ended abnormally")},
      {kExitCode, QT_TRANSLATE_NOOP("JobReason", "The encoder failed with exit code %1")},
      {kNoVideo, QT_TRANSLATE_NOOP("JobReason", "The encoder wrote no readable video")},
      {kNoVideoBecause, QT_TRANSLATE_NOOP("JobReason", "The encoder wrote no readable video: %1")},
      {kTooShort, QT_TRANSLATE_NOOP("JobReason", "The output is shorter than the input (%1 s / %2 s)")},
      {kTooShortBecause,
       QT_TRANSLATE_NOOP("JobReason", "The output is shorter than the input (%1 s / %2 s): %3")},
      {kCannotCreate, QT_TRANSLATE_NOOP("JobReason", "Cannot create %1: %2")},
      {kCannotMove, QT_TRANSLATE_NOOP("JobReason", "Cannot move the output to %1: %2")},
      {kOutputReplaced,
       QT_TRANSLATE_NOOP("JobReason", "The output was removed or replaced while it was written: %1")},
      {kKeptAs,
       QT_TRANSLATE_NOOP("JobReason", "The whole output is kept as %1: it could not be renamed to %2 (%3)")},
      {kLengthUnknown,
       QT_TRANSLATE_NOOP("JobReason", "The input's length could not be read to check the output")},
      {kLengthUnknownBecause,
       QT_TRANSLATE_NOOP("JobReason", "The input's length could not be read to check the output: %1")},
      {kOverTarget,
       QT_TRANSLATE_NOOP(
           "JobReason",
           "The output came out at %1, over its size of %2, also when made again at a lower rate")},
      {kSizeTooSmall,
       QT_TRANSLATE_NOOP("JobReason", "This video cannot be made as small as %1: the smallest is %2")},
      {kSizeUnplanned,
       QT_TRANSLATE_NOOP("JobReason", "The size %1 cannot be planned: the video's length is not known")},
  };
  for (const auto& entry : kTexts) {
    if (code == entry.code) return entry.text;
  }
  return nullptr;
}

std::string JobReason::Fill(const std::string& text) const {
  std::string filled;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (text[i] != '%' || next < '1' || next > '9') {
      filled += text[i];
      continue;
    }
    // One pass: an argument that holds "%2" is not filled in again.
    const size_t index = next - '1';
    if (index >= args.size()) return std::string();
    filled += args[index];
    ++i;
  }
  return filled;
}

std::string JobReason::English() const {
  const char* text = Template(code);
  return text == nullptr ? std::string() : Fill(text);
}

std::string JobReason::ArgsText() const {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.StartArray();
  for (const std::string& arg : args) writer.String(arg.data(), static_cast<rapidjson::SizeType>(arg.size()));
  writer.EndArray();
  return std::string(buffer.GetString(), buffer.GetSize());
}

std::vector<std::string> JobReason::ArgsFromText(const std::string& text) {
  std::vector<std::string> args;
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag>(text.data(), text.size());
  if (document.HasParseError() || !document.IsArray()) return args;
  for (const auto& value : document.GetArray()) {
    if (!value.IsString()) return {};
    args.emplace_back(value.GetString(), value.GetStringLength());
  }
  return args;
}
