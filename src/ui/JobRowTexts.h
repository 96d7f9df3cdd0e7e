#pragma once

#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <string>

#include "jobs/JobState.h"
#include "jobs/TimeLeft.h"

// The texts of a job row's Time Remaining and Progress cells: the fixed texts of a
// new row and the publisher's figures turned into what the user reads.
class JobRowTexts {
  Q_DECLARE_TR_FUNCTIONS(JobRowTexts)

 public:
  struct Cells {
    QString time;
    QString progress;
  };

  // A new row of each table, from the job's flags.
  static Cells transcoding(bool stopped);
  // A Transcoding row for a job in any state (failed, elsewhere, stopped, ...). A job
  // that is neither running nor finished was stopped, by the user or by an exit
  // that cut it short: it reads so, with the progress it reached where known.
  static Cells transcoding(JobState state, double progressReached = -1);
  static Cells completed();
  // A finished job shows its bar full; anything else in the bin reads stopped.
  static Cells deleted(bool stopped, bool done);
  // A stopped job: "Stopped", its progress as a bar when known.
  static Cells stoppedAt(double progressReached);

  // What the stop action writes into both cells.
  static QString stoppedByUser();
  // A stop asked for, the encoder not ended yet.
  static Cells stopping();
  // A paused job: "Paused", and how far it came (a fraction; negative: unknown).
  static Cells paused(double progress);
  // A run that failed (the row's tooltip says why).
  static Cells failed();
  // A job another Kovadle process runs just now, and the tooltip that says so.
  static Cells elsewhere();
  static QString elsewhereTip();

  // Seconds left as h:mm:ss (m:ss below an hour, as kovadle-cli writes it),
  // "Estimating…" when negative. A text that is not a number is shown unchanged.
  static QString timeRemaining(const std::string& text);
  // The time left of a job: "Estimating…", the clock, or "Finishing…".
  static QString timeLeft(TimeLeft::Kind kind, double seconds);
  // The whole queue's time left, for the title.
  static QString queueTimeLeft(double seconds);
  // A fraction as "25.00%" (at most "100.00%"), "Initializing" when negative; not
  // a number: unchanged.
  static QString progress(const std::string& text);

  // A finished job's output as the Completed table shows it: "name.mkv (MKV, 12.3 MB)",
  // "missing" in place of the size when the file is gone; against its size when the
  // job fitted it into one: "name.mp4 (MP4, 24.31 MB of 25 MB)".
  static QString outputSummary(const std::string& outputFile, int64_t targetBytes = 0);
  // The time cell of a job whose first output came out over its size and is made
  // again, and the row's tooltip that says so.
  static QString againTime(const QString& time);
  static QString againTip(int64_t oversizedBytes, int64_t targetBytes);
  // The tooltip of a finished job: both full paths, each on its line.
  static QString inputAndOutput(const std::string& inputFile, const std::string& outputFile);

 private:
  // True when the whole text is one floating-point number (trailing white space
  // allowed), read the same in every locale; value receives it.
  static bool readNumber(const std::string& text, double* value);
};
