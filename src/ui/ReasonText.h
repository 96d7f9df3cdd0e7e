#pragma once

#include <QString>
#include <string>

#include "jobs/JobReason.h"

// A failure's reason in the interface's language: our own reasons are stored as
// codes and said here; the encoder's own line (and the text a job file of an older
// program kept) is shown as it is.
class ReasonText {
 public:
  static QString of(const std::string& storedLine, const JobReason& why);
};
