#include "ui/JobRowTexts.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <locale>
#include <sstream>

#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"
#include "text/StringUtil.h"

JobRowTexts::Cells JobRowTexts::transcoding(bool stopped) {
  if (stopped) return {tr("Stopped"), tr("Stopped")};
  return {QStringLiteral("-:-:-"), QStringLiteral("0.00%")};
}

JobRowTexts::Cells JobRowTexts::completed() {
  return {QString::fromStdString(TimeLeft::Clock(0)), QStringLiteral("100.00%")};
}

JobRowTexts::Cells JobRowTexts::deleted(bool stopped, bool done) {
  if (done && !stopped) return completed();
  return transcoding(true);
}

JobRowTexts::Cells JobRowTexts::stoppedAt(double progressReached) {
  Cells cells = transcoding(true);
  if (progressReached >= 0)
    cells.progress = QString::asprintf("%.2f%%", std::fmin(progressReached, 1.0) * 100);
  return cells;
}

JobRowTexts::Cells JobRowTexts::transcoding(JobState state, double progressReached) {
  switch (state) {
    case JobState::Failed:
      return failed();
    case JobState::Elsewhere:
      return elsewhere();
    case JobState::Stopping:
      return stopping();
    case JobState::Paused:
      return paused(progressReached);
    case JobState::Stopped:
    case JobState::Idle:
      return stoppedAt(progressReached);
    default:
      return transcoding(false);
  }
}

QString JobRowTexts::stoppedByUser() { return tr("stopped"); }

JobRowTexts::Cells JobRowTexts::stopping() { return {tr("Stopping"), tr("Stopping")}; }

JobRowTexts::Cells JobRowTexts::paused(double progress) {
  return {tr("Paused"),
          progress < 0 ? QStringLiteral("-") : JobRowTexts::progress(StringUtil::double_to_str(progress))};
}

JobRowTexts::Cells JobRowTexts::failed() {
  const QString text = QCoreApplication::translate("QObject", "Failed");
  return {text, text};
}

JobRowTexts::Cells JobRowTexts::elsewhere() { return {QStringLiteral("-:-:-"), tr("In another Kovadle")}; }

QString JobRowTexts::elsewhereTip() {
  return tr(
      "Another Kovadle (a second window or kovadle-cli) is transcoding this job. It can be changed here "
      "once that one has finished with it.");
}

bool JobRowTexts::readNumber(const std::string& text, double* value) {
  std::istringstream stream(text);
  stream.imbue(std::locale::classic());
  double number = 0;
  if (!(stream >> number)) return false;
  stream >> std::ws;
  if (!stream.eof()) return false;
  *value = number;
  return true;
}

QString JobRowTexts::timeRemaining(const std::string& text) {
  double seconds = 0;
  if (!readNumber(text, &seconds)) return QString::fromUtf8(text.c_str());
  return timeLeft(seconds < 0 ? TimeLeft::Kind::Estimating : TimeLeft::Kind::Seconds, seconds);
}

QString JobRowTexts::timeLeft(TimeLeft::Kind kind, double seconds) {
  switch (kind) {
    case TimeLeft::Kind::Estimating:
      return tr("Estimating…");
    case TimeLeft::Kind::Finishing:
      return tr("Finishing…");
    case TimeLeft::Kind::Seconds:
      break;
  }
  return QString::fromStdString(TimeLeft::Clock(seconds));
}

QString JobRowTexts::queueTimeLeft(double seconds) {
  return tr("%1 left in all").arg(QString::fromStdString(TimeLeft::Clock(seconds)));
}

QString JobRowTexts::progress(const std::string& text) {
  double fraction = 0;
  if (!readNumber(text, &fraction)) return QString::fromUtf8(text.c_str());
  if (fraction < 0) return tr("Initializing");
  // The last figures of an encode may pass the input's end.
  return QString::asprintf("%.2f%%", std::fmin(fraction, 1.0) * 100);
}

QString JobRowTexts::outputSummary(const std::string& outputFile, int64_t targetBytes) {
  const QFileInfo output(to_qstring(outputFile));
  const QString format = output.suffix().toUpper();
  QString size = output.isFile() ? to_qstring(OSUtil::FileSizeFriendly(output.size())) : tr("missing");
  // Against the size in the size's own units.
  if (targetBytes > 0 && output.isFile())
    size = tr("%1 of %2")
               .arg(to_qstring(SizeText::Decimal(output.size())), to_qstring(SizeText::Decimal(targetBytes)));
  return output.fileName() + " (" + (format.isEmpty() ? size : format + ", " + size) + ")";
}

QString JobRowTexts::againTime(const QString& time) { return tr("Again %1").arg(time); }

QString JobRowTexts::againTip(int64_t oversizedBytes, int64_t targetBytes) {
  return tr("The output came out at %1, over its size of %2: it is being made again at a lower rate.")
      .arg(to_qstring(SizeText::Decimal(oversizedBytes)), to_qstring(SizeText::Decimal(targetBytes)));
}

QString JobRowTexts::inputAndOutput(const std::string& inputFile, const std::string& outputFile) {
  return tr("Input") + ": " + QDir::toNativeSeparators(to_qstring(inputFile)) + "\n" + tr("Output") + ": " +
         QDir::toNativeSeparators(to_qstring(outputFile));
}
