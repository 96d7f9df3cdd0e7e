#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <string>

class QWidget;

// Opens outputs and folders with the desktop's own programs: the default player
// for a video, the file manager (Explorer on Windows) for a folder. What cannot be
// opened is said in a message owned by the parent, never passed over in silence:
// the desktop's opener is watched without waiting for it, and when it ends in
// failure the message names the file and what to install or do.
class DesktopOpener {
  Q_DECLARE_TR_FUNCTIONS(DesktopOpener)

 public:
  // Hands a file or folder to the desktop; false when nothing could take it.
  using Launcher = std::function<bool(const QString& path)>;
  // Replaces the launcher (tests install a recorder, so no real player ever
  // starts); an empty function restores the desktop's.
  static void setLauncher(Launcher launcher);

  // Plays a job's output; a missing file or a desktop that cannot open it is a message.
  static bool playOutput(QWidget* parent, const std::string& outputFile);
  // Opens the folder holding the file.
  static bool showFolderOf(QWidget* parent, const std::string& file);

  // What the user is told when the desktop has no program for it (the opener's
  // "no method available"), and when the program it chose failed.
  static QString noProgramText(const QString& path, bool folder);
  static QString failedText(const QString& path, const QString& detail);

  // "Show input in file manager" on Linux, "Show input in Explorer" on Windows.
  static QString showInputText();
  static QString showOutputText();

 private:
  static bool open(QWidget* parent, const QString& path, bool folder);
  // The desktop's own way; may explain itself to the user when it cannot, now or
  // once the opener has ended.
  static bool launchWithDesktop(QWidget* parent, const QString& path, bool folder);
};
