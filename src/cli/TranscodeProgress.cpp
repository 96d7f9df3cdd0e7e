#include "cli/TranscodeProgress.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "Util/AppConstants.h"
#include "Util/OSUtil.h"
#include "Util/StringUtil.h"
#include "cli/CliConsole.h"
#include "jobs/JobV3.h"

namespace {

// A bar follows the encoder closely; a plain line per second is plenty in a log.
constexpr qint64 kBarRefreshMs = 200;
constexpr qint64 kLineRefreshMs = 1000;
constexpr int kBarWidth = 24;
constexpr int kNameWidth = 30;

std::string twoDigits(long long value) {
  return (value < 10 ? "0" : "") + StringUtil::longlong_to_str(value);
}

// Seconds as h:mm:ss, rounded up: "0:00:01" until the very end.
std::string clock(double seconds) {
  const long long total = static_cast<long long>(std::ceil(std::min(seconds, 359999.0)));
  return StringUtil::longlong_to_str(total / 3600) + ":" + twoDigits(total / 60 % 60) + ":" +
         twoDigits(total % 60);
}

// Long names are cut so a bar line fits an ordinary terminal.
std::string shortName(const std::string& name) {
  const QString text = QString::fromUtf8(name.c_str());
  if (text.size() <= kNameWidth) return name;
  return (text.left(kNameWidth - 3) + "...").toUtf8().toStdString();
}

}  // namespace

TranscodeProgress::TranscodeProgress(bool terminal, int fileCount)
    : terminal_(terminal), fileCount_(fileCount) {}

TranscodeProgress::State TranscodeProgress::StateOf(const JobV3* job) {
  // Run() sets running before it clears queueing, and the encoder thread settles
  // the other flags before it clears running: read in this order, nothing is missed.
  if (job->IsQueueing()) return State::Queued;
  if (job->IsRunning() || job->IsStopping()) return State::Running;
  if (job->IsFailed()) return State::Failed;
  if (job->IsCompleted()) return State::Completed;
  if (job->IsStopped()) return State::Stopped;
  return State::Queued;  // between two steps of the manager
}

void TranscodeProgress::Add(JobV3* job, int number, const std::string& input, const std::string& output) {
  Entry entry;
  entry.job = job;
  entry.tag = "[" + StringUtil::int_to_str(number) + "/" + StringUtil::int_to_str(fileCount_) + "]";
  entry.name = OSUtil::getFileName(input);
  entry.input = input;
  entry.output = output;
  entry.state = StateOf(job) == State::Queued ? State::Queued : State::Running;
  const char* verb = entry.state == State::Queued ? " Queued " : " Transcoding ";
  entries_.push_back(entry);
  show({{entry.tag + verb + input + " -> " + output, false}}, false);
}

void TranscodeProgress::Print(const std::string& line, bool problem) { show({{line, problem}}, false); }

TranscodeProgress::Lines TranscodeProgress::changes(bool interrupted) {
  Lines lines;
  for (Entry& entry : entries_) {
    State now = StateOf(entry.job);
    // The window's Ctrl-C reaches the encoder too, which then ends with an error.
    if (interrupted && now == State::Failed) now = State::Stopped;
    if (now == entry.state) continue;
    entry.state = now;
    switch (now) {
      case State::Running:
        lines.emplace_back(entry.tag + " Transcoding " + entry.input + " -> " + entry.output, false);
        break;
      case State::Completed:
        lines.emplace_back(entry.tag + " Completed " + entry.output, false);
        break;
      case State::Failed:
        lines.emplace_back("kovadle-cli: " + entry.tag + " " + entry.input +
                               ": the encoder failed; the program log in " + get_applogs_dir() +
                               " has its last output",
                           true);
        break;
      case State::Stopped:
        lines.emplace_back(entry.tag + " Stopped " + entry.input, true);
        break;
      case State::Queued:
        break;
    }
  }
  return lines;
}

void TranscodeProgress::Update() {
  if (finished_) return;
  const Lines lines = changes(false);
  const bool due =
      !sinceFigures_.isValid() || sinceFigures_.elapsed() >= (terminal_ ? kBarRefreshMs : kLineRefreshMs);
  if (due) sinceFigures_.restart();
  if (due || !lines.empty()) show(lines, due);
}

void TranscodeProgress::Finish(bool interrupted) {
  if (finished_) return;
  const Lines lines = changes(interrupted);
  finished_ = true;
  show(lines, false);
}

bool TranscodeProgress::AllEnded() const {
  for (const Entry& entry : entries_) {
    if (entry.state == State::Queued || entry.state == State::Running) return false;
  }
  return true;
}

int TranscodeProgress::CountOf(State state) const {
  int count = 0;
  for (const Entry& entry : entries_) count += entry.state == state;
  return count;
}

std::string TranscodeProgress::figures(const JobV3* job) {
  const double progress = job->GetProgress();
  const double speed = job->GetSpeed();
  const double left = job->GetEstimateLeftTime();
  const std::string percent = progress < 0 ? "--" : StringUtil::int_to_str(static_cast<int>(progress * 100));
  return percent + "%  speed " + (speed < 0 ? "--" : StringUtil::double_to_fixed_str(speed, 2) + "x") + "  " +
         (left < 0 ? "--:--:--" : clock(left)) + " left";
}

std::string TranscodeProgress::barsText() const {
  std::string text;
  int queued = 0;
  for (const Entry& entry : entries_) {
    if (entry.state == State::Queued) ++queued;
    if (entry.state != State::Running) continue;
    const double progress = entry.job->GetProgress();
    const int filled = progress < 0 ? 0 : static_cast<int>(progress * kBarWidth + 0.5);
    text += entry.tag + " " + shortName(entry.name) + " [" + std::string(filled, '#') +
            std::string(kBarWidth - filled, '-') + "] " + figures(entry.job) + "\n";
  }
  if (queued > 0) text += StringUtil::int_to_str(queued) + " waiting\n";
  return text;
}

void TranscodeProgress::show(const Lines& lines, bool withFigures) {
  if (!terminal_) {
    for (const auto& line : lines) (line.second ? CliConsole::Err : CliConsole::Out)(line.first + "\n");
    if (!withFigures) return;
    for (const Entry& entry : entries_) {
      if (entry.state == State::Running)
        CliConsole::Out(entry.tag + " " + entry.name + ": " + figures(entry.job) + "\n");
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
      out += line.first + "\n";
      continue;
    }
    CliConsole::Out(out);
    out.clear();
    CliConsole::Err(line.first + "\n");
  }
  for (char c : bars) barLines_ += c == '\n';
  // Without line wrapping an over-long line is cut at the edge instead of taking
  // two rows, so the count of lines to go back over stays right.
  if (!bars.empty()) out += "\033[?7l" + bars + "\033[?7h";
  CliConsole::Out(out);
}
