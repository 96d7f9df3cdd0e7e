#include "cli/CliInput.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "cli/CliConsole.h"
#include "planning/FFmpegCmdGenerator.h"
#include "planning/InputAcceptance.h"

std::string CliInput::Resolve(const QString& argument) {
  const QFileInfo file(argument);
  const std::string shown = argument.toUtf8().toStdString();
  if (!file.exists()) {
    CliConsole::Err("kovadle-cli: " + shown + ": no such file\n");
    return std::string();
  }
  if (file.isDir()) {
    CliConsole::Err("kovadle-cli: " + shown + ": is a folder, not a file\n");
    return std::string();
  }
  return QDir::toNativeSeparators(file.absoluteFilePath()).toUtf8().toStdString();
}

std::string CliInput::Refusal(const std::string& path, const MediaInfo& info) {
  const std::string refusal = InputAcceptance::RefusalOf(path, info);
  return refusal.empty() ? refusal : refusal + "!";
}

std::vector<std::string> CliInput::QualitiesHighestFirst(const std::string& path) {
  std::vector<std::string> keys = FFmpegCmdGenerator::GetQualitys(path);
  std::sort(keys.rbegin(), keys.rend());
  return keys;
}

std::string CliInput::Joined(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) text += (text.empty() ? "" : " ") + key;
  return text;
}
