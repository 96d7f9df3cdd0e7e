#pragma once

#include <string>

#include "probe/MediaFigure.h"

// One stream of a media file as the probe lists it: what kind it is, its codec,
// and the marks a player shows for it (language, title, default, forced).
struct MediaTrack {
  enum class Kind { Video, Audio, Subtitle, Data, Attachment, Other };

  int index = -1;  // the stream's number in the file, as the encoder's -map names it
  Kind kind = Kind::Other;
  std::string codec;     // short name ("aac", "subrip"); "" when the probe names none
  std::string language;  // as tagged ("eng"); "" when untagged
  std::string title;
  bool isDefault = false;
  bool forced = false;
  // A cover picture stored as a video stream: not video.
  bool attachedPicture = false;
  int channels = 0;
  int width = 0;
  int height = 0;
  // Seconds: the stream's own duration, else its DURATION tag (Matroska), else "0".
  MediaFigure duration;

  bool IsRealVideo() const { return kind == Kind::Video && !attachedPicture; }
};
