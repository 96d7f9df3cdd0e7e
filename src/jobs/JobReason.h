#pragma once

#include <string>
#include <vector>

// Why a run failed, as a code with its arguments, so every front end can say it in
// its own language (a job run by kovadle-cli is read in a Chinese window too). The
// encoder's own line, when it said why, needs no code: it is shown as it is.
struct JobReason {
  // One of the codes below; "" when there is none (the encoder's line says why).
  std::string code;
  std::vector<std::string> args;

  // The encoder could not be started / ended by a signal / exited with %1.
  static const char* const kNotStarted;
  static const char* const kAbnormalEnd;
  static const char* const kExitCode;
  // The encoder wrote no readable video (%1: the encoder's first error line).
  static const char* const kNoVideo;
  static const char* const kNoVideoBecause;
  // The output is %1 s long against the input's %2 s (%3: the encoder's first error line).
  static const char* const kTooShort;
  static const char* const kTooShortBecause;
  // The output's name %1 could not be created or given; %2 is the system's reason.
  static const char* const kCannotCreate;
  static const char* const kCannotMove;
  // The partial file was removed or replaced under the encoder (%1: the output's name).
  static const char* const kOutputReplaced;
  // A whole output could not take its name: kept as %1, the name %2, the system's reason %3.
  static const char* const kKeptAs;
  // The input's length is unknown, so the output cannot be judged whole (%1: the
  // encoder's first error line).
  static const char* const kLengthUnknown;
  static const char* const kLengthUnknownBecause;

  // The output came out at %1, over its size of %2, also when made again at a lower rate.
  static const char* const kOverTarget;
  // The size %1 cannot be made of this input: the smallest is %2.
  static const char* const kSizeTooSmall;
  // The size %1 cannot be planned: the input's length is not known.
  static const char* const kSizeUnplanned;

  bool Empty() const { return code.empty(); }

  // The English text of a code with its places %1, %2, ... (translate it in the
  // "JobReason" context); nullptr for a code this program does not know (a newer one).
  static const char* Template(const std::string& code);
  // The text with %1, %2, ... replaced by the arguments; "" when a place has no argument.
  std::string Fill(const std::string& text) const;
  // In English: what kovadle-cli and the job file's own line say; "" for an unknown code.
  std::string English() const;

  // The arguments as one text (a JSON array of strings) for the job file, and back;
  // a text that is no such array gives none.
  std::string ArgsText() const;
  static std::vector<std::string> ArgsFromText(const std::string& text);

  bool operator==(const JobReason& other) const { return code == other.code && args == other.args; }
  bool operator!=(const JobReason& other) const { return !(*this == other); }
};
