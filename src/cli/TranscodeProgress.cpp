#include "cli/TranscodeProgress.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cmath>

#include "cli/CliConsole.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "text/StringUtil.h"
#include "text/TerminalText.h"

namespace {

constexpr int kBarWidth = 24;
constexpr int kNameWidth = 30;

// The same figure the window shows for the job.
std::string timeLeft(const JobStatus& status) {
  if (status.state == JobState::Paused) return "paused";
  switch (status.leftKind) {
    case TimeLeft::Kind::Estimating:
      return "Estimating...";
    case TimeLeft::Kind::Finishing:
      return "Finishing...";
    case TimeLeft::Kind::Seconds:
      break;
  }
  return TimeLeft::Clock(status.timeLeft) + " left";
}

// Long names are cut so a bar line fits an ordinary terminal.
std::string shortName(const std::string& name) {
  const QString text = QString::fromUtf8(name.c_str());
  if (text.size() <= kNameWidth) return name;
  return (text.left(kNameWidth - 3) + "...").toUtf8().toStdString();
}

bool isRunning(JobState state) {
  return state == JobState::Starting || state == JobState::Encoding || state == JobState::Paused;
}

}  // namespace

TranscodeProgress::TranscodeProgress(bool terminal, int fileCount)
    : terminal_(terminal), fileCount_(fileCount) {}

TranscodeProgress::Entry* TranscodeProgress::find(const std::string& jobID) {
  for (Entry& entry : entries_) {
    if (entry.jobID == jobID) return &entry;
  }
  return nullptr;
}

void TranscodeProgress::Add(const JobView& job, int number) {
  Entry entry;
  entry.jobID = job.jobID;
  entry.tag = "[" + StringUtil::int_to_str(number) + "/" + StringUtil::int_to_str(fileCount_) + "]";
  entry.name = OSUtil::getFileName(job.inputFile);
  entry.input = job.inputFile;
  entry.output = job.outputFile;
  entry.state = job.state;
  entry.targetBytes = job.targetBytes;
  entries_.push_back(entry);
  Lines lines;
  if (entry.state == JobState::Waiting) {
    lines.emplace_back(entry.tag + " Queued " + entry.input + " -> " + entry.output, false);
  } else {
    describe(entry, job.reason, &lines);
  }
  show(lines, false);
}

void TranscodeProgress::Print(const std::string& line, bool problem) { show({{line, problem}}, false); }

void TranscodeProgress::describe(const Entry& entry, const std::string& reason, Lines* lines) {
  switch (entry.state) {
    case JobState::Starting:
    case JobState::Encoding:
    case JobState::Paused:
      lines->emplace_back(entry.tag + " Transcoding " + entry.input + " -> " + entry.output, false);
      break;
    case JobState::Completed: {
      std::string line = entry.tag + " Completed " + entry.output;
      // What a size gave against the size.
      const QFileInfo output(QString::fromUtf8(entry.output.c_str()));
      const int64_t bytes = output.isFile() ? output.size() : -1;
      if (entry.targetBytes > 0 && bytes >= 0)
        line += " (" + SizeText::Decimal(bytes) + " of " + SizeText::Decimal(entry.targetBytes) + ")";
      lines->emplace_back(line, false);
      break;
    }
    case JobState::Failed:
      lines->emplace_back("kovadle-cli: " + entry.tag + " " + entry.input + ": failed: " +
                              (reason.empty() ? std::string("the encoder gave no reason") : reason),
                          true);
      break;
    case JobState::Stopped:
      lines->emplace_back(entry.tag + " Stopped " + entry.input, true);
      break;
    default:
      break;
  }
}

void TranscodeProgress::OnStatus(const JobsStatus& status) {
  if (finished_) return;
  Lines lines;
  for (const JobStatus& job : status) {
    Entry* entry = find(job.jobID);
    if (entry == nullptr || JobStateRules::IsFinal(entry->state)) continue;
    entry->figures = job;
    if (job.oversizedBytes > 0 && !entry->retryTold) {
      entry->retryTold = true;
      lines.emplace_back(entry->tag + " " + entry->name + ": the output came out at " +
                             SizeText::Decimal(job.oversizedBytes) + ", over " +
                             SizeText::Decimal(job.targetBytes) + "; making it again at a lower rate",
                         false);
    }
    // Ends come as their own event, with the reason.
    if (JobStateRules::IsFinal(job.state) || job.state == entry->state) continue;
    const bool started = entry->state == JobState::Waiting && isRunning(job.state);
    entry->state = job.state;
    if (started) describe(*entry, std::string(), &lines);
  }
  show(lines, true);
}

void TranscodeProgress::OnFinished(const JobFinished& finished) {
  Entry* entry = find(finished.jobID);
  if (entry == nullptr || finished_ || JobStateRules::IsFinal(entry->state)) return;
  entry->state = finished.outcome;
  // A whole output takes the next free name when its own was taken meanwhile.
  if (!finished.outputFile.empty()) entry->output = finished.outputFile;
  Lines lines;
  describe(*entry, finished.reason, &lines);
  show(lines, false);
}

void TranscodeProgress::Finish(const JobEngine& engine) {
  if (finished_) return;
  Lines lines;
  for (Entry& entry : entries_) {
    if (JobStateRules::IsFinal(entry.state)) continue;
    const std::optional<JobView> job = engine.View(entry.jobID);
    if (!job) continue;
    entry.state = job->state;
    describe(entry, job->reason, &lines);
  }
  finished_ = true;
  show(lines, false);
}

void TranscodeProgress::TakeBarsAway() {
  if (!terminal_ || barLines_ == 0) return;
  CliConsole::Out("\033[" + StringUtil::int_to_str(barLines_) + "A\r\033[J");
  barLines_ = 0;
  barsShown_.clear();
}

bool TranscodeProgress::AllEnded() const {
  for (const Entry& entry : entries_) {
    if (!JobStateRules::IsFinal(entry.state)) return false;
  }
  return true;
}

int TranscodeProgress::CountOf(JobState state) const {
  int count = 0;
  for (const Entry& entry : entries_) count += entry.state == state;
  return count;
}

std::string TranscodeProgress::figures(const JobStatus& status) {
  const std::string percent =
      status.progress < 0 ? "--" : StringUtil::int_to_str(static_cast<int>(status.progress * 100));
  return percent + "%  speed " +
         (status.speed < 0 ? "--" : StringUtil::double_to_fixed_str(status.speed, 2) + "x") + "  " +
         timeLeft(status);
}

std::string TranscodeProgress::barsText() const {
  std::string text;
  int queued = 0;
  for (const Entry& entry : entries_) {
    if (entry.state == JobState::Waiting) ++queued;
    if (!isRunning(entry.state)) continue;
    const double progress = entry.figures.progress;
    const int filled = progress < 0 ? 0 : static_cast<int>(progress * kBarWidth + 0.5);
    text += entry.tag + " " + shortName(TerminalText::Escaped(entry.name)) + " [" + std::string(filled, '#') +
            std::string(kBarWidth - filled, '-') + "] " + figures(entry.figures) + "\n";
  }
  if (queued > 0) text += StringUtil::int_to_str(queued) + " waiting\n";
  return text;
}

void TranscodeProgress::show(const Lines& lines, bool withFigures) {
  if (!terminal_) {
    for (const auto& line : lines)
      (line.second ? CliConsole::Err : CliConsole::Out)(TerminalText::Escaped(line.first) + "\n");
    if (!withFigures) return;
    for (const Entry& entry : entries_) {
      if (isRunning(entry.state))
        CliConsole::Out(entry.tag + " " + TerminalText::Escaped(entry.name) + ": " + figures(entry.figures) +
                        "\n");
    }
    return;
  }
  if (lines.empty() && !withFigures) return;
  const std::string bars = finished_ ? std::string() : barsText();
  // Nothing new: leave the screen alone rather than redraw the same bars.
  if (lines.empty() && bars == barsShown_) return;
  barsShown_ = bars;
  // Back to the first bar line, and everything below it cleared.
  std::string out = barLines_ > 0 ? "\033[" + StringUtil::int_to_str(barLines_) + "A\r\033[J" : "";
  barLines_ = 0;
  for (const auto& line : lines) {
    if (!line.second) {
      out += TerminalText::Escaped(line.first) + "\n";
      continue;
    }
    CliConsole::Out(out);
    out.clear();
    CliConsole::Err(TerminalText::Escaped(line.first) + "\n");
  }
  for (char c : bars) barLines_ += c == '\n';
  // Without line wrapping an over-long line is cut at the edge instead of taking
  // two rows, so the count of lines to go back over stays right.
  if (!bars.empty()) out += "\033[?7l" + bars + "\033[?7h";
  CliConsole::Out(out);
}
