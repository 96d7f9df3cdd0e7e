#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "planning/TrackPlan.h"

// The settings dialogs' sentence on what an output keeps of its input's tracks
// and what it drops, e.g. "2 audio tracks: only the first is kept; 1 subtitle:
// dropped in MP4".
class TrackSummary {
  Q_DECLARE_TR_FUNCTIONS(TrackSummary)

 public:
  // One part for each sort of stream ("2 audio tracks: all kept"), then what the
  // container loses of the tracks; none for an input of one video stream alone.
  static QStringList Parts(const TrackPlan& plan);
  // The parts in one line.
  static QString Text(const TrackPlan& plan);
};
