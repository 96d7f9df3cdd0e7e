#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

// Blocking command runs and the quoting rules of the program's command lines.
class CmdUtil {
 public:
  // Runs the command to its end (at most 30 s to start and 30 s to finish) and
  // returns its standard output as non-empty lines, UTF-8, without line ends.
  static std::vector<std::string> GetOutputAsLineListQt(const QString& cmd);

  // A path in double quotes for a command line. A double quote inside the path is
  // written as three double quotes, which SplitCommand reads back as one, so any
  // file name comes back as exactly one argument.
  static std::string QuotePath(const std::string& path);

  // Splits a command line into program and arguments (QProcess's rules: blanks
  // separate, double quotes group, three double quotes stand for one).
  static QStringList SplitCommand(const QString& cmd);
};
