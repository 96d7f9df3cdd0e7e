#pragma once

#include <QStringList>
#include <cstdint>
#include <string>

// The command line of kovadle-cli:
//   info FILE... [--json] [--size SIZE [--format EXT] [--all-tracks]]
//   transcode FILE... [--quality N | --size SIZE] [--format EXT] [--output-dir DIR] [--all-tracks]
//   jobs [--json]
// plus --help and --version.
class CliArguments {
 public:
  enum class Command { Info, Transcode, Jobs };

  // Parses the arguments (program name first). Help, version and usage errors are
  // written at once; Finished() then says the program ends with ExitStatus().
  explicit CliArguments(const QStringList& arguments);

  bool Finished() const { return finished_; }
  int ExitStatus() const { return exitStatus_; }

  Command GetCommand() const { return command_; }
  const QStringList& Files() const { return files_; }
  bool Json() const { return json_; }
  // As given, without a trailing "%"; checked against each input's ladder later.
  std::string Quality() const { return quality_; }
  // The output container with its dot: ".mp4", ".mkv", ".flv", ".avi" or ".ts".
  std::string Format() const { return format_; }
  // Empty: the output folder chosen in the window.
  std::string OutputDir() const { return outputDir_; }
  // Every audio track and subtitle the container holds.
  bool AllTracks() const { return allTracks_; }
  // The size the outputs are fitted into (--size), in bytes; 0 when none is given.
  int64_t SizeBytes() const { return sizeBytes_; }

 private:
  void parse(const QStringList& arguments);
  void finish(int status);
  void usageError(const QString& message);

  bool finished_ = false;
  int exitStatus_ = 0;
  Command command_ = Command::Info;
  QStringList files_;
  bool json_ = false;
  std::string quality_ = "95";
  std::string format_ = ".mp4";
  std::string outputDir_;
  bool allTracks_ = false;
  int64_t sizeBytes_ = 0;
};
