#include "MediaFixtures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <iostream>

#include "platform/OSUtil.h"
#include "process/CommandLine.h"
#include "text/StringUtil.h"

std::string run_and_capture(const std::string& program, const std::string& arguments, bool merge,
                            int timeout_ms, int* exit_code) {
  QProcess process;
  if (merge) process.setProcessChannelMode(QProcess::MergedChannels);
  QStringList args;
  if (!arguments.empty()) args = QString::fromStdString(arguments).split('\n');
  process.start(QString::fromStdString(program), args);
  process.waitForStarted(30000);
  if (!process.waitForFinished(timeout_ms)) process.kill();
  process.waitForFinished(5000);
  if (exit_code != nullptr)
    *exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return process.readAllStandardOutput().toStdString();
}

std::string tool_path(const std::string& tool) {
  return OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"), tool + OSUtil::executableSuffix());
}

std::string make_clip(const std::string& folder, const std::string& name, const ClipSpec& spec) {
  const std::string path = folder + "/" + name;
  std::string args = "-y\n-loglevel\nerror";
  const std::string duration = StringUtil::double_to_str(spec.seconds);
  if (spec.video) {
    args += "\n-f\nlavfi\n-i\ntestsrc2=size=" + std::to_string(spec.width) + "x" +
            std::to_string(spec.height) + ":rate=" + std::to_string(spec.fps) + ":duration=" + duration;
  }
  if (spec.audio) args += "\n-f\nlavfi\n-i\nsine=frequency=440:sample_rate=44100:duration=" + duration;
  if (spec.video) {
    args += "\n-c:v\n" + spec.video_codec + "\n-pix_fmt\n" + spec.pix_fmt;
    if (spec.video_codec == "libx264") args += "\n-preset\nultrafast";
  }
  if (spec.audio) args += "\n-c:a\naac";
  if (!spec.extra_args.empty()) args += "\n" + spec.extra_args;
  // ffmpeg 5.1 drops a rotate tag while encoding; a stream copy afterwards keeps it.
  const std::string encoded = spec.rotate != 0 ? folder + "/unrotated-" + name : path;
  args += "\n" + encoded;
  int code = -1;
  std::string output = run_and_capture(tool_path("encoder"), args, true, 120000, &code);
  if (code == 0 && spec.rotate != 0) {
    output += run_and_capture(tool_path("encoder"),
                              "-y\n-loglevel\nerror\n-i\n" + encoded +
                                  "\n-c\ncopy\n-metadata:s:v:0\nrotate=" + std::to_string(spec.rotate) +
                                  "\n" + path,
                              true, 120000, &code);
    QFile::remove(QString::fromStdString(encoded));
  }
  if (code != 0 || !QFileInfo::exists(QString::fromStdString(path))) {
    ADD_FAILURE() << "ffmpeg could not make " << path << ":\n" << output;
    return std::string();
  }
  return path;
}

std::string probe_entry(const std::string& path, const std::string& stream, const std::string& entry) {
  std::string args = "-v\nerror\n";
  if (stream == "format") {
    args += "-show_entries\nformat=" + entry;
  } else {
    args += "-select_streams\n" + stream + "\n-show_entries\nstream=" + entry;
  }
  args += "\n-of\ndefault=noprint_wrappers=1:nokey=1\n" + path;
  int code = 0;
  std::string out = run_and_capture(tool_path("mediainfo"), args, false, 60000, &code);
  if (code != 0) {
    // The probe is only the checker here; under Wine it has once come back empty under
    // load. Say so and ask again, so that a failure points at the output, not the checker.
    std::cerr << "probe_entry: the probe ended with " << code << " on " << path << "; asking again\n";
    out = run_and_capture(tool_path("mediainfo"), args, false, 60000, &code);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  const size_t newline = out.find('\n');
  return newline == std::string::npos ? out : out.substr(0, newline);
}

int run_command(const CommandLine& command, std::string* output) {
  QStringList args;
  for (const std::string& argument : command.Arguments()) args << QString::fromStdString(argument);
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(QString::fromStdString(command.Program()), args);
  if (!process.waitForFinished(300000)) process.kill();
  process.waitForFinished(5000);
  *output = process.readAll().toStdString();
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
