#include "planning/ContainerTracks.h"

#include <set>

#include "text/StringUtil.h"

namespace {

// Subtitle codecs the encoder decodes to text, and the picture ones.
const std::set<std::string>& textCodecs() {
  static const std::set<std::string> codecs = {
      "ass",        "ssa",  "subrip",   "srt",     "webvtt", "mov_text", "text", "microdvd", "subviewer",
      "subviewer1", "sami", "realtext", "jacosub", "mpl2",   "pjs",      "stl",  "vplayer",  "eia_608"};
  return codecs;
}

const std::set<std::string>& imageCodecs() {
  static const std::set<std::string> codecs = {"hdmv_pgs_subtitle", "dvd_subtitle", "dvb_subtitle", "xsub"};
  return codecs;
}

}  // namespace

ContainerTracks ContainerTracks::For(const std::string& extension) {
  ContainerTracks rules;
  rules.extension_ = extension;
  StringUtil::to_lower(rules.extension_);
  rules.name_ =
      rules.extension_.empty() || rules.extension_[0] != '.' ? rules.extension_ : rules.extension_.substr(1);
  StringUtil::to_upper(rules.name_);
  if (rules.extension_ == ".mp4") {
    rules.titleAsHandlerName_ = true;
  } else if (rules.extension_ == ".mkv") {
    rules.textSubtitleUnasked_ = true;
  } else if (rules.extension_ == ".ts") {
    rules.keepsTitles_ = false;
  } else if (rules.extension_ == ".avi") {
    rules.keepsLanguages_ = false;
  } else if (rules.extension_ == ".flv") {
    // FLV has room for one audio stream and no stream tags.
    rules.audioLimit_ = 1;
    rules.keepsLanguages_ = false;
    rules.keepsTitles_ = false;
  }
  return rules;
}

ContainerTracks::SubtitleKind ContainerTracks::KindOf(const std::string& subtitleCodec) {
  if (textCodecs().count(subtitleCodec) != 0) return SubtitleKind::Text;
  if (imageCodecs().count(subtitleCodec) != 0) return SubtitleKind::Image;
  return SubtitleKind::Other;
}

std::string ContainerTracks::SubtitleEncoding(const std::string& codec) const {
  const SubtitleKind kind = KindOf(codec);
  if (extension_ == ".mp4") {
    // MP4 text is mov_text; of the picture subtitles it holds VobSub only.
    if (kind == SubtitleKind::Text) return codec == "mov_text" ? "copy" : "mov_text";
    if (codec == "dvd_subtitle") return "copy";
  } else if (extension_ == ".mkv") {
    static const std::set<std::string> asTheyAre = {
        "subrip", "ass", "ssa", "webvtt", "hdmv_pgs_subtitle", "dvd_subtitle", "dvb_subtitle"};
    if (asTheyAre.count(codec) != 0) return "copy";
    if (kind == SubtitleKind::Text) return "ass";
  } else if (extension_ == ".ts") {
    // Anything but DVB subtitles would come out as an unreadable data stream.
    if (codec == "dvb_subtitle") return "copy";
  }
  // AVI and FLV: none the players read.
  return std::string();
}
