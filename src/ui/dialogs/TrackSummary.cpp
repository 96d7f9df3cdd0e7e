#include "ui/dialogs/TrackSummary.h"

#include <QStringList>

#include "text/QtText.h"

namespace {

using Fate = TrackPlan::Fate;
using Kind = MediaTrack::Kind;

// Streams of one sort: how many, which are kept (1-based places among them), and
// whether the container is what drops them.
struct Group {
  int count = 0;
  std::vector<int> kept;
  bool containerLimit = false;
};

template <typename Test>
Group groupOf(const TrackPlan& plan, Test belongs) {
  Group group;
  for (const TrackPlan::Stream& stream : plan.streams) {
    if (!belongs(stream)) continue;
    ++group.count;
    if (stream.fate == Fate::Kept) group.kept.push_back(group.count);
    if (stream.fate == Fate::ContainerLimit) group.containerLimit = true;
  }
  return group;
}

Group ofKind(const TrackPlan& plan, Kind kind) {
  return groupOf(plan, [kind](const TrackPlan::Stream& s) { return s.track.kind == kind; });
}

// A kept stream whose language or title the container loses.
bool loses(const TrackPlan& plan, bool language) {
  for (Kind kind : {Kind::Audio, Kind::Subtitle}) {
    for (const TrackPlan::Stream& stream : plan.KeptOf(kind)) {
      const std::string& mark = language ? stream.track.language : stream.track.title;
      if (!mark.empty() && mark != "und") return true;
    }
  }
  return false;
}

}  // namespace

QString TrackSummary::Text(const TrackPlan& plan) { return Parts(plan).join(tr("; ")); }

QStringList TrackSummary::Parts(const TrackPlan& plan) {
  const QString container = to_qstring(plan.container.Name());
  const auto fate = [&container](const Group& group) {
    const int kept = static_cast<int>(group.kept.size());
    if (kept == group.count) return group.count == 1 ? tr("kept") : tr("all kept");
    if (kept == 0) return tr("dropped in %1").arg(container);
    if (kept == 1 && group.containerLimit) {
      return group.kept.front() == 1
                 ? tr("only the first is kept (%1 holds one)").arg(container)
                 : tr("only number %1 is kept (%2 holds one)").arg(group.kept.front()).arg(container);
    }
    if (kept == 1) {
      return group.kept.front() == 1 ? tr("only the first is kept")
                                     : tr("only number %1 is kept").arg(group.kept.front());
    }
    return tr("%1 kept, %2 dropped in %3").arg(kept).arg(group.count - kept).arg(container);
  };
  QStringList parts;
  const auto add = [&parts](const Group& group, const QString& one, const QString& many,
                            const QString& what) {
    if (group.count > 0) parts << tr("%1: %2").arg(group.count == 1 ? one : many.arg(group.count), what);
  };
  const Group audio = ofKind(plan, Kind::Audio);
  add(audio, tr("1 audio track"), tr("%1 audio tracks"), fate(audio));
  const Group subtitles = ofKind(plan, Kind::Subtitle);
  add(subtitles, tr("1 subtitle"), tr("%1 subtitles"), fate(subtitles));

  // Never kept, whatever is chosen.
  const Group videos =
      groupOf(plan, [](const TrackPlan::Stream& s) { return s.track.IsRealVideo() && s.fate != Fate::Kept; });
  add(videos, tr("1 more video stream"), tr("%1 more video streams"), tr("dropped"));
  const Group covers = groupOf(plan, [](const TrackPlan::Stream& s) {
    return s.track.kind == Kind::Video && s.track.attachedPicture && s.fate != Fate::Kept;
  });
  add(covers, tr("1 cover picture"), tr("%1 cover pictures"), tr("dropped"));
  add(ofKind(plan, Kind::Data), tr("1 data stream"), tr("%1 data streams"), tr("dropped"));
  add(ofKind(plan, Kind::Attachment), tr("1 attachment"), tr("%1 attachments"), tr("dropped"));
  add(ofKind(plan, Kind::Other), tr("1 other stream"), tr("%1 other streams"), tr("dropped"));

  const bool languages = !plan.container.KeepsLanguages() && loses(plan, true);
  const bool titles = !plan.container.KeepsTitles() && loses(plan, false);
  if (languages && titles) {
    parts << tr("%1 keeps no track languages or titles").arg(container);
  } else if (languages) {
    parts << tr("%1 keeps no track languages").arg(container);
  } else if (titles) {
    parts << tr("%1 keeps no track titles").arg(container);
  }
  return parts;
}
