#include "ui/ReasonText.h"

#include <QCoreApplication>

#include "text/QtText.h"

QString ReasonText::of(const std::string& storedLine, const JobReason& why) {
  const char* text = JobReason::Template(why.code);
  // A code of a newer program: its stored line still says it, in its language.
  if (text == nullptr) return to_qstring(storedLine);
  const std::string said = why.Fill(to_utf8(QCoreApplication::translate("JobReason", text)));
  return said.empty() ? to_qstring(storedLine) : to_qstring(said);
}
