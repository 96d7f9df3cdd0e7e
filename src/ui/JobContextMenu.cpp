#include "ui/JobContextMenu.h"

#include "ui/DesktopOpener.h"

JobContextMenu::JobContextMenu(int table, JobState state) : QMenu(nullptr) {
  const QString texts[kEntryCount] = {tr("Play output"),
                                      DesktopOpener::showInputText(),
                                      DesktopOpener::showOutputText(),
                                      tr("Transcode again"),
                                      tr("Transcode again") + QStringLiteral("…"),
                                      tr("Stop transcoding"),
                                      tr("Pause"),
                                      tr("Resume"),
                                      tr("Delete"),
                                      tr("Restore"),
                                      tr("Delete completely"),
                                      tr("Empty Recycle Bin"),
                                      tr("Property")};
  for (int i = 0; i < kEntryCount; ++i) {
    // Owned by the menu: a window-owned action per opening would pile up for good.
    QAction* action = addAction(texts[i]);
    const bool shown = isShown(static_cast<Entry>(i), table, state);
    action->setVisible(shown);
    action->setEnabled(shown);
    entries_[i] = action;
  }
}

bool JobContextMenu::isShown(Entry which, int table, JobState state) {
  // Running or queued.
  const bool active = JobStateRules::IsActive(state);
  const bool deleted = state == JobState::Deleted;
  switch (which) {
    case kPlayOutput:
      return table == kCompleted;
    case kRestore:
      return table == kRecycleBin && !active;
    case kShowInput:
    case kShowOutput:
    case kProperty:
      return true;
    case kTranscodeAgain:
      return table == kTranscoding && !active;
    case kTranscodeNew:
      // A new job on the same input, with settings chosen anew; the output stays.
      return table == kCompleted;
    case kStop:
      return active;
    case kPause:
      return table == kTranscoding && (state == JobState::Starting || state == JobState::Encoding);
    case kResume:
      return table == kTranscoding && state == JobState::Paused;
    case kDelete:
      return !deleted;
    case kDeleteCompletely:
    case kEmptyRecycleBin:
      return table == kRecycleBin;
    case kEntryCount:
      break;
  }
  return false;
}
