#include "cli/CliInput.h"

#include <QDir>
#include <QFileInfo>

#include "cli/CliConsole.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "text/TerminalText.h"

std::string CliInput::Resolve(const QString& argument) {
  const std::string shown = to_utf8(argument);
  const std::string path = to_utf8(QDir::toNativeSeparators(QFileInfo(argument).absoluteFilePath()));
  // A name UTF-8 cannot carry (a lone surrogate on a Windows command line) does not
  // survive the conversion above; getFileKind finds one whose bytes Qt could not decode.
  const OSUtil::FileKind kind =
      to_qstring(shown) != argument ? OSUtil::FileKind::UnreadableName : OSUtil::getFileKind(path);
  const char* problem = nullptr;
  switch (kind) {
    case OSUtil::FileKind::Regular:
      return path;
    case OSUtil::FileKind::Missing:
      problem = "no such file";
      break;
    case OSUtil::FileKind::Folder:
      problem = "is a folder, not a file";
      break;
    case OSUtil::FileKind::Special:
      problem = "not a regular file (a pipe, a device or a socket)";
      break;
    case OSUtil::FileKind::UnreadableName:
      problem = "the file name is not valid UTF-8, which Kovadle cannot read; rename the file";
      break;
  }
  CliConsole::Err("kovadle-cli: " + TerminalText::Escaped(shown) + ": " + problem + "\n");
  return std::string();
}

std::string CliInput::Joined(const std::vector<std::string>& keys) {
  std::string text;
  for (const std::string& key : keys) text += (text.empty() ? "" : " ") + key;
  return text;
}
