#pragma once

#include <QMenu>
#include <array>

#include "jobs/JobState.h"

// The right-click menu of a job row: the entries that make no sense for the job in
// that table are hidden (and disabled).
class JobContextMenu : public QMenu {
  Q_OBJECT

 public:
  enum Entry {
    kPlayOutput,
    kShowInput,
    kShowOutput,
    kTranscodeAgain,
    kTranscodeNew,
    kStop,
    kPause,
    kResume,
    kDelete,
    kRestore,
    kDeleteCompletely,
    kEmptyRecycleBin,
    kProperty,
    kEntryCount
  };
  // Table numbers: 1 Transcoding, 2 Completed, 3 RecycleBin.
  enum Table { kTranscoding = 1, kCompleted = 2, kRecycleBin = 3 };

  // A menu for a job in the table, in the state it has now.
  JobContextMenu(int table, JobState state);

  QAction* entry(Entry which) const { return entries_[which]; }

  static bool isShown(Entry which, int table, JobState state);

 private:
  std::array<QAction*, kEntryCount> entries_{};
};
