#pragma once

#include <QStringList>

// `kovadle-cli info`: for each file the media-information record, then its
// resolution class and the qualities offered, or the window's refusal.
class InfoCommand {
 public:
  // Text: "key: value" lines per file, files apart by a blank line. JSON: one
  // object per file and line. Returns the exit status: 1 when any file is refused
  // or missing.
  static int Run(const QStringList& files, bool json);
};
