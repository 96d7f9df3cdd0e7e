#include "ui/dialogs/SizePlanText.h"

#include "planning/SizeText.h"
#include "text/QtText.h"

namespace {

QString kbits(int bitrate) { return QString::number(bitrate / 1000); }

}  // namespace

QString SizePlanText::Buys(const SizePlan& plan) {
  const FFmpegParams& params = plan.params;
  const QString frame = QString("%1x%2").arg(params.width).arg(params.height);
  const QString rate = QString::number(params.videoFramerate, 'g', 5);
  QString audio;
  if (plan.audioTracks == 0) {
    audio = tr("no audio");
  } else if (plan.audioTracks == 1) {
    audio = tr("audio %1 kbit/s").arg(kbits(params.audioBitrate));
  } else {
    audio = tr("audio %1 x %2 kbit/s").arg(plan.audioTracks).arg(kbits(params.audioBitrate));
  }
  return tr("%1 at %2 fps, video %3 kbit/s, %4").arg(frame, rate, kbits(params.videoBitrate), audio);
}

QString SizePlanText::FitsQuestion() { return tr("The input already fits: keep quality 99 %?"); }

QString SizePlanText::TooSmallFor(int64_t smallestBytes) {
  if (smallestBytes <= 0) return tr("No size can be planned: the video's length is not known.");
  return tr("Too small: this video cannot be made smaller than %1 MB.")
      .arg(to_qstring(SizeText::Megabytes(smallestBytes)));
}

QString SizePlanText::Line(const SizePlan& plan) {
  switch (plan.verdict) {
    case SizePlan::Verdict::Planned:
      return tr("This size buys %1.").arg(Buys(plan));
    case SizePlan::Verdict::Fits:
      return FitsQuestion();
    case SizePlan::Verdict::TooSmall:
      return TooSmallFor(plan.smallestBytes);
    case SizePlan::Verdict::Unknown:
      break;
  }
  return plan.targetBytes > 0 ? TooSmallFor(0) : tr("Type a size in MB.");
}

QString SizePlanText::Short(const SizePlan& plan) {
  if (plan.verdict == SizePlan::Verdict::TooSmall)
    return tr("at least %1 MB").arg(to_qstring(SizeText::Megabytes(plan.smallestBytes)));
  if (plan.verdict == SizePlan::Verdict::Unknown) return tr("length unknown");
  return QString();
}
