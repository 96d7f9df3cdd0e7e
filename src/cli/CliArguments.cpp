#include "cli/CliArguments.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>

#include "cli/CliConsole.h"
#include "cli/CliExitStatus.h"
#include "planning/SizeText.h"
#include "text/TerminalText.h"

namespace {

const char* const kDescription =
    "Converts videos with Kovadle's engine: the same probe, quality ladder, job files and\n"
    "queue as the Kovadle window, whose tables show these jobs at its next start.\n"
    "\n"
    "Commands:\n"
    "  info FILE...       what is in each file: media information, audio and subtitle\n"
    "                     tracks, resolution class and the qualities offered, or why\n"
    "                     Kovadle refuses the file; with --size, what that size buys\n"
    "  transcode FILE...  converts the files into the output folder, showing progress\n"
    "  jobs               lists the stored jobs: table, quality, input, output, state\n"
    "                     and, for a failed job, why\n"
    "\n"
    "Exit status: 0 all done, 1 a file refused or a job failed, 2 wrong usage,\n"
    "130 interrupted by Ctrl-C.";

const QStringList kFormats = {".mp4", ".mkv", ".flv", ".avi", ".ts"};

void out(const QString& text) { CliConsole::Out(text.toUtf8().toStdString()); }

}  // namespace

void CliArguments::finish(int status) {
  finished_ = true;
  exitStatus_ = status;
}

void CliArguments::usageError(const QString& message) {
  // The message may quote an argument, which may be a file name.
  CliConsole::Err("kovadle-cli: " + TerminalText::Escaped(message.toUtf8().toStdString()) +
                  "\nTry 'kovadle-cli --help' for more information.\n");
  finish(cli_exit::kUsage);
}

CliArguments::CliArguments(const QStringList& arguments) { parse(arguments); }

void CliArguments::parse(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption json(QStringList{"json"},
                                "info, jobs: one JSON object per file or job, one per line.");
  const QCommandLineOption quality(QStringList{"q", "quality"},
                                   "transcode: output quality, a percentage of the input (default 95).", "N");
  const QCommandLineOption format(QStringList{"f", "format"},
                                  "transcode: output container .mp4 (default), .mkv, .flv, .avi or .ts.",
                                  "EXT");
  const QCommandLineOption outputDir(
      QStringList{"o", "output-dir"},
      "transcode: folder for the outputs (default: the output folder chosen in Kovadle).", "DIR");
  const QCommandLineOption allTracks(
      QStringList{"all-tracks"}, "transcode: keep every audio track and every subtitle the container holds.");
  const QCommandLineOption size(
      QStringList{"size"},
      QString("transcode: fit each output into this size instead of a quality (1 MB = 1,000,000 bytes; "
              "units %1), at most and nearly all of it. info: what the size buys.")
          .arg(QString::fromLatin1(SizeText::Units())),
      "SIZE");
  parser.addOptions({json, quality, format, outputDir, allTracks, size});
  parser.addPositionalArgument("command", "info, transcode or jobs.");
  parser.addPositionalArgument("files", "Video files.", "[FILE...]");

  if (!parser.parse(arguments)) return usageError(parser.errorText());
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    out(parser.helpText());
    return finish(cli_exit::kOk);
  }
  if (parser.isSet(version)) {
    out("kovadle-cli " + QCoreApplication::applicationVersion() + "\n");
    return finish(cli_exit::kOk);
  }

  files_ = parser.positionalArguments();
  if (files_.isEmpty()) return usageError("a command is needed: info, transcode or jobs");
  const QString name = files_.takeFirst();
  if (name == "info") {
    command_ = Command::Info;
  } else if (name == "transcode") {
    command_ = Command::Transcode;
  } else if (name == "jobs") {
    command_ = Command::Jobs;
  } else {
    return usageError("unknown command '" + name + "': info, transcode or jobs");
  }

  if (command_ == Command::Jobs && !files_.isEmpty()) return usageError("jobs takes no FILE");
  if (command_ != Command::Jobs && files_.isEmpty()) return usageError(name + " needs at least one FILE");
  if (command_ == Command::Transcode && parser.isSet(json))
    return usageError("--json belongs to info and jobs");
  if (command_ == Command::Jobs && parser.isSet(size))
    return usageError("--size belongs to transcode and info");
  if (command_ != Command::Transcode) {
    for (const QCommandLineOption* option : {&quality, &format, &outputDir, &allTracks}) {
      if (!parser.isSet(*option)) continue;
      // What a size buys depends on the container and the tracks kept.
      const bool shapesSize =
          command_ == Command::Info && parser.isSet(size) && (option == &format || option == &allTracks);
      if (!shapesSize) return usageError("--" + option->names().last() + " belongs to transcode");
    }
  }
  if (parser.isSet(size) && parser.isSet(quality))
    return usageError("--size and --quality cannot be used together: the size decides the quality");

  json_ = parser.isSet(json);
  allTracks_ = parser.isSet(allTracks);
  if (parser.isSet(quality)) {
    QString value = parser.value(quality);
    if (value.endsWith('%')) value.chop(1);
    bool number = false;
    value.toUInt(&number);
    if (!number) return usageError("--quality needs a whole number, such as 95");
    quality_ = value.toUtf8().toStdString();
  }
  if (parser.isSet(size)) {
    const std::optional<int64_t> bytes = SizeText::Parse(parser.value(size).toUtf8().toStdString());
    if (!bytes)
      return usageError("--size needs a number and a unit (" + QString::fromLatin1(SizeText::Units()) +
                        "), such as 25MB, not '" + parser.value(size) + "'");
    sizeBytes_ = *bytes;
  }
  if (parser.isSet(format)) {
    QString value = parser.value(format);
    if (!value.startsWith('.')) value.prepend('.');
    if (!kFormats.contains(value))
      return usageError("unknown format '" + parser.value(format) + "': " + kFormats.join(", "));
    format_ = value.toUtf8().toStdString();
  }
  if (parser.isSet(outputDir)) {
    outputDir_ = parser.value(outputDir).toUtf8().toStdString();
    if (outputDir_.empty()) return usageError("--output-dir needs a folder");
    // Qt turns bytes that are not UTF-8 into U+FFFD: writing there would make a new
    // folder of another name.
    if (parser.value(outputDir).contains(QChar::ReplacementCharacter))
      return usageError("--output-dir: the folder name is not valid UTF-8, which Kovadle cannot write to");
  }
}
