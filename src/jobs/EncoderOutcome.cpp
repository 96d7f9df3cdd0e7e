#include "jobs/EncoderOutcome.h"

#include <algorithm>

#include "planning/SizeText.h"
#include "text/StringUtil.h"

namespace {

// A positive number of seconds, or -1.
double seconds(const MediaFigure& figure) {
  const double value = figure.AsDouble();
  return value > 0 ? value : -1;
}

bool encoderSaidWhy(const EncoderOutcome::Run& run) {
  return !run.errorLines.empty() && run.errorLines.front() != "Conversion failed!";
}

// The encoder's failure: its own first error line says why; ours where it said
// nothing, with its last lines. The job file keeps our line in English, beside its code.
EncoderOutcome::Verdict failed(const EncoderOutcome::Run& run, JobReason ownReason) {
  EncoderOutcome::Verdict verdict;
  if (encoderSaidWhy(run)) {
    verdict.errorLines = run.errorLines;
    return verdict;
  }
  verdict.errorLines = run.lastLines;
  verdict.errorLines.insert(verdict.errorLines.begin(), ownReason.English());
  verdict.reason = std::move(ownReason);
  return verdict;
}

// A failure the encoder did not see (it exited 0): ours, with its first error line
// as the likely cause (the code's "because" form takes it as its last argument).
EncoderOutcome::Verdict notWhole(const EncoderOutcome::Run& run, JobReason ownReason,
                                 const std::string& becauseCode) {
  EncoderOutcome::Verdict verdict;
  if (encoderSaidWhy(run)) {
    ownReason.code = becauseCode;
    ownReason.args.push_back(run.errorLines.front());
  }
  verdict.errorLines = run.errorLines;
  verdict.errorLines.insert(verdict.errorLines.begin(), ownReason.English());
  verdict.reason = std::move(ownReason);
  return verdict;
}

}  // namespace

double EncoderOutcome::ShortfallAllowed(double inputSeconds) { return std::max(1.0, inputSeconds * 0.02); }

EncoderOutcome::Verdict EncoderOutcome::Judge(const Run& run, const MediaInfo& output) {
  if (run.ending == ProcessRunner::Ending::FailedToStart) return failed(run, {JobReason::kNotStarted, {}});
  if (run.ending != ProcessRunner::Ending::Exited) return failed(run, {JobReason::kAbnormalEnd, {}});
  if (run.exitCode != 0) return failed(run, {JobReason::kExitCode, {StringUtil::int_to_str(run.exitCode)}});
  if (!output.hasVideo) return notWhole(run, {JobReason::kNoVideo, {}}, JobReason::kNoVideoBecause);

  if (!(run.inputSeconds > 0))
    return notWhole(run, {JobReason::kLengthUnknown, {}}, JobReason::kLengthUnknownBecause);
  // The output's length against the input's; the encoder's own count where the
  // output does not tell its length.
  double outputSeconds = seconds(output.overallDuration);
  if (outputSeconds < 0) outputSeconds = run.lastTime;
  if (outputSeconds < run.inputSeconds - ShortfallAllowed(run.inputSeconds)) {
    return notWhole(run,
                    {JobReason::kTooShort,
                     {StringUtil::double_to_fixed_str(std::max(outputSeconds, 0.0), 1),
                      StringUtil::double_to_fixed_str(run.inputSeconds, 1)}},
                    JobReason::kTooShortBecause);
  }
  Verdict verdict;
  if (run.targetBytes > 0 && run.outputBytes > run.targetBytes) {
    verdict.overTarget = true;
    std::string actual = SizeText::Decimal(run.outputBytes), target = SizeText::Decimal(run.targetBytes);
    // Just over reads as the size itself when cut to two decimals.
    if (actual == target) {
      actual = std::to_string(run.outputBytes) + " B";
      target = std::to_string(run.targetBytes) + " B";
    }
    verdict.reason = {JobReason::kOverTarget, {actual, target}};
    verdict.errorLines = {verdict.reason.English()};
    return verdict;
  }
  verdict.completed = true;
  return verdict;
}
