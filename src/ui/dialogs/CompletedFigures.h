#pragma once

#include <QCoreApplication>
#include <QString>
#include <utility>
#include <vector>

#include "probe/MediaInfo.h"

struct JobView;

// What a completed job actually gave, shown in its Property beside the estimate:
// the output's size, duration and bit rate, the time the encode took and its speed
// (seconds of video per second of encoding).
class CompletedFigures {
  Q_DECLARE_TR_FUNCTIONS(CompletedFigures)

 public:
  using Row = std::pair<QString, QString>;  // caption, value

  // output: the probe's record of the output file (a record without video when it
  // was not probed: its figures read "unknown").
  static std::vector<Row> of(const JobView& job, const MediaInfo& output);

  // "45.2 s" below a minute, else "1:02:05".
  static QString duration(double seconds);
};
