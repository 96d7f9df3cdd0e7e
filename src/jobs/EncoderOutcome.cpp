#include "jobs/EncoderOutcome.h"

#include <QCoreApplication>
#include <algorithm>

#include "text/StringUtil.h"

namespace {

std::string translated(const char* text) {
  return QCoreApplication::translate("EncoderOutcome", text).toUtf8().toStdString();
}

// A positive number of seconds, or -1.
double seconds(const MediaFigure& figure) {
  const double value = figure.AsDouble();
  return value > 0 ? value : -1;
}

bool encoderSaidWhy(const EncoderOutcome::Run& run) {
  return !run.errorLines.empty() && run.errorLines.front() != "Conversion failed!";
}

// The encoder's failure: its own first error line says why; ours where it said
// nothing, with its last lines.
EncoderOutcome::Verdict failed(const EncoderOutcome::Run& run, const std::string& ownReason) {
  EncoderOutcome::Verdict verdict;
  if (encoderSaidWhy(run)) {
    verdict.errorLines = run.errorLines;
    return verdict;
  }
  verdict.errorLines = run.lastLines;
  verdict.errorLines.insert(verdict.errorLines.begin(), ownReason);
  return verdict;
}

// A failure the encoder did not see (it exited 0): ours, with its first error line
// as the likely cause.
EncoderOutcome::Verdict notWhole(const EncoderOutcome::Run& run, const std::string& ownReason) {
  EncoderOutcome::Verdict verdict;
  verdict.errorLines = run.errorLines;
  verdict.errorLines.insert(verdict.errorLines.begin(),
                            encoderSaidWhy(run) ? ownReason + ": " + run.errorLines.front() : ownReason);
  return verdict;
}

}  // namespace

double EncoderOutcome::ShortfallAllowed(double inputSeconds) { return std::max(1.0, inputSeconds * 0.02); }

EncoderOutcome::Verdict EncoderOutcome::Judge(const Run& run, const MediaInfo& output) {
  if (run.ending == ProcessRunner::Ending::FailedToStart)
    return failed(run, translated(QT_TRANSLATE_NOOP("EncoderOutcome", "The encoder could not be started")));
  if (run.ending != ProcessRunner::Ending::Exited)
    return failed(run, translated(QT_TRANSLATE_NOOP("EncoderOutcome", "The encoder ended abnormally")));
  if (run.exitCode != 0) {
    return failed(run, translated(QT_TRANSLATE_NOOP("EncoderOutcome", "The encoder failed with exit code")) +
                           " " + StringUtil::int_to_str(run.exitCode));
  }
  if (!output.hasVideo)
    return notWhole(run,
                    translated(QT_TRANSLATE_NOOP("EncoderOutcome", "The encoder wrote no readable video")));

  if (!(run.inputSeconds > 0))
    return notWhole(run, translated(QT_TRANSLATE_NOOP(
                             "EncoderOutcome", "The input's length could not be read to check the output")));
  // The output's length against the input's; the encoder's own count where the
  // output does not tell its length.
  double outputSeconds = seconds(output.overallDuration);
  if (outputSeconds < 0) outputSeconds = run.lastTime;
  if (outputSeconds < run.inputSeconds - ShortfallAllowed(run.inputSeconds)) {
    return notWhole(
        run, translated(QT_TRANSLATE_NOOP("EncoderOutcome", "The output is shorter than the input")) + " (" +
                 StringUtil::double_to_fixed_str(std::max(outputSeconds, 0.0), 1) + " s / " +
                 StringUtil::double_to_fixed_str(run.inputSeconds, 1) + " s)");
  }
  Verdict verdict;
  verdict.completed = true;
  return verdict;
}
