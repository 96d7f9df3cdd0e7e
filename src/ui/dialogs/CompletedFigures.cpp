#include "ui/dialogs/CompletedFigures.h"

#include <cmath>

#include "jobs/JobView.h"
#include "planning/SizeText.h"
#include "platform/OSUtil.h"
#include "text/QtText.h"

namespace {

// A probe figure that is a positive number, else -1.
double positive(const MediaFigure& figure) {
  const double value = figure.AsDouble();
  return value > 0 && std::isfinite(value) ? value : -1;
}

}  // namespace

QString CompletedFigures::duration(double seconds) {
  if (seconds < 60) return QString::asprintf("%.1f ", seconds) + tr("s");
  const long long whole = std::llround(seconds);
  return QString::asprintf("%lld:%02lld:%02lld", whole / 3600, (whole / 60) % 60, whole % 60);
}

std::vector<CompletedFigures::Row> CompletedFigures::of(const JobView& job, const MediaInfo& output) {
  const QString unknown = tr("unknown");
  const int64_t bytes = job.OutputSize();
  const double seconds = output.hasVideo ? positive(output.overallDuration) : -1;
  const double took = job.encodeSeconds;

  std::vector<Row> rows;
  // A size's job counts in the size's units, 1 MB = 1,000,000 bytes.
  const bool sized = job.targetBytes > 0;
  rows.emplace_back(tr("Actual Filesize"), bytes < 0 ? tr("missing")
                                           : sized   ? to_qstring(SizeText::Decimal(bytes))
                                                     : to_qstring(OSUtil::FileSizeFriendly(bytes)));
  rows.emplace_back(tr("Actual Duration"), seconds > 0 ? duration(seconds) : unknown);
  rows.emplace_back(tr("Actual Bitrate"),
                    seconds > 0 && bytes > 0
                        ? QString::number(std::llround(bytes * 8 / seconds / 1000)) + " " + tr("kbit/s")
                        : unknown);
  rows.emplace_back(tr("Encoding Time"), took >= 0 ? duration(took) : unknown);
  rows.emplace_back(tr("Encoding Speed"),
                    took > 0 && seconds > 0 ? QString::asprintf("%.2fx", seconds / took) : unknown);
  if (sized) {
    rows.emplace_back(tr("Target Size"), to_qstring(SizeText::Decimal(job.targetBytes)));
    if (job.oversizedBytes >= 0)
      rows.emplace_back(
          tr("First Output"),
          tr("%1, over the size: made again").arg(to_qstring(SizeText::Decimal(job.oversizedBytes))));
  }
  return rows;
}
