#pragma once

#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <functional>
#include <vector>

#include "environment/AppConstants.h"
#include "jobs/JobV3.h"
#include "process/CommandLine.h"
#include "support/MediaFixtures.h"
#include "support/ProcessState.h"

// Empties the job-file folder, so each test sees only its own jobs.
inline void clear_job_folder() {
  QDir folder(QString::fromStdString(get_appjobfile_dir()));
  for (const QString& name : folder.entryList(QDir::Files | QDir::System | QDir::Hidden)) folder.remove(name);
}

inline JobFile* new_record(const std::string& input, const std::string& output) {
  auto* record = new JobFile;
  record->Init(input, output, "95", "h264", ".mp4");
  return record;
}

inline std::string id_of(JobV3* job) { return job->GetJobFile()->GetJobID(); }

// The job's record as a restarted program would read it.
inline std::unique_ptr<JobFile> reload(JobV3* job) {
  auto copy = std::make_unique<JobFile>();
  copy->Load(job->GetJobFile()->GetPath());
  return copy;
}

inline bool wait_until(const std::function<bool()>& condition, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms && !condition(); waited += 10) QThread::msleep(10);
  return condition();
}

// Waits while the calling thread's events run: for what the engine tells by signal.
inline bool wait_with_events(const std::function<bool()>& done, int timeout_ms) {
  for (QDeadlineTimer deadline(timeout_ms); !done() && !deadline.hasExpired();)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

inline void set_mtime(const std::string& path, int seconds_from_now) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadWrite);
  file.setFileTime(QDateTime::currentDateTime().addSecs(seconds_from_now), QFileDevice::FileModificationTime);
}

// A stand-in for the encoder: prints a "Duration:" header and `steps` progress lines,
// one every `step` seconds (a decimal text), then copies a real two-second clip to its
// last argument (the output it is given) and exits 0. Returns its command line for
// the output, so the engine hands it its partial file as it does the encoder.
inline CommandLine stand_in_encoder(const std::string& folder, int steps, const char* step,
                                    const std::string& output) {
  const std::string path = folder + "/encoder-" + std::to_string(steps) + ".sh";
  const std::string clip = folder + "/stand-in-output.mp4";
  if (!QFile::exists(QString::fromStdString(clip))) make_clip(folder, "stand-in-output.mp4", ClipSpec{});
  QFile script(QString::fromStdString(path));
  if (!script.exists() && script.open(QIODevice::WriteOnly)) {
    script.write(
        ("#!/bin/sh\n"
         "for out; do :; done\n"
         "echo '  Duration: 00:00:02.00, start: 0.000000, bitrate: 100 kb/s'\n"
         "i=0\n"
         "while [ $i -lt " +
         std::to_string(steps) + " ]; do\n  sleep " + step +
         "\n"
         "  i=$((i + 1))\n"
         "  echo \"frame=$i fps=25 q=28.0 size=1kB time=00:00:01.00 bitrate=1.0kbits/s speed=5.0x\"\n"
         "done\n"
         "cp '" +
         clip +
         "' \"$out\"\n"
         "echo 'frame=50 fps=25 q=28.0 size=2kB time=00:00:02.00 bitrate=1.0kbits/s speed=5.0x'\n")
            .c_str());
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  return CommandLine(path).AddPath(output);
}

// The children of a process that have the text among their arguments.
inline std::vector<int64_t> children_with(int64_t parent, const std::string& text) {
  std::vector<int64_t> found;
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    QFile stat("/proc/" + entry + "/stat");
    QFile cmdline("/proc/" + entry + "/cmdline");
    if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly)) continue;
    const QByteArray fields = stat.readAll();
    const QList<QByteArray> after = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
    if (after.size() < 2 || after[1].toLongLong() != parent) continue;
    if (cmdline.readAll().contains(QByteArray::fromStdString(text))) found.push_back(entry.toLongLong());
  }
  return found;
}

// True while a child of this process has the text among its arguments.
inline bool child_with_argument(const std::string& text) { return !children_with(getpid(), text).empty(); }

// A real encode of `seconds` of wall time (its input read at its own pace) into output.
inline CommandLine paced_encode(int seconds, const std::string& output) {
  return CommandLine(tool_path("encoder"))
      .Add({"-nostdin", "-re", "-f", "lavfi", "-i"})
      .Add("testsrc2=size=320x240:rate=25:duration=" + std::to_string(seconds))
      .Add({"-c:v", "libx264", "-preset", "ultrafast", "-y"})
      .AddPath(output);
}

// True while the process is stopped by a signal (its state in /proc is 'T').
inline bool process_stopped(int64_t pid) {
  QFile stat(QString("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return false;
  const QByteArray text = stat.readAll();
  const int close = text.lastIndexOf(')');
  return close > 0 && close + 2 < text.size() && text[close + 2] == 'T';
}
