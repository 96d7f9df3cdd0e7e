#include "planning/InputAcceptance.h"

#include <QtGlobal>

#include "platform/OSUtil.h"

InputAcceptance::Verdict InputAcceptance::Judge(const MediaInfo& info) {
  if (!info.hasVideo) return info.hasAudio ? Verdict::AudioOnly : Verdict::NoStreams;
  const int width = info.width.AsInt();
  if (width > 4500) return Verdict::TooWide;
  if (width < 480) return Verdict::TooNarrow;
  return Verdict::Accepted;
}

std::string InputAcceptance::RefusalOf(const std::string& inputPath, const MediaInfo& info) {
  // Before anything the probe says: such a file was never probed (see MediaInfoCache).
  switch (OSUtil::getFileKind(inputPath)) {
    case OSUtil::FileKind::Folder:
    case OSUtil::FileKind::Special:
      return QT_TRANSLATE_NOOP("QObject",
                               "Only regular files can be transcoded, not folders, pipes or devices");
    case OSUtil::FileKind::UnreadableName:
      return QT_TRANSLATE_NOOP("QObject",
                               "The file name is not valid UTF-8 and cannot be read, please rename the file");
    case OSUtil::FileKind::Regular:
    case OSUtil::FileKind::Missing:
      break;
  }
  // Extensions are compared as written: "movie.QLV" goes on to the probe's verdict.
  const std::string extension = OSUtil::getFileExtension(inputPath);
  if (extension == ".qlv")
    return QT_TRANSLATE_NOOP("QObject", "qlv is in Tencent's private format and currently not supported");
  if (extension == ".qsv")
    return QT_TRANSLATE_NOOP("QObject", "qsv is a private format of iQiyi and is currently not supported");

  switch (Judge(info)) {
    case Verdict::NoStreams:
      return QT_TRANSLATE_NOOP("QObject", "Non video files are not supported");
    case Verdict::AudioOnly:
      return QT_TRANSLATE_NOOP("QObject", "Not support audio only file");
    case Verdict::TooWide:
      return QT_TRANSLATE_NOOP("QObject",
                               "Resolution larger than 4k are not supported (4k and below are supported)");
    case Verdict::TooNarrow:
      return QT_TRANSLATE_NOOP("QObject", "Video width less than 480 are not supported");
    case Verdict::Accepted:
      break;
  }
  return std::string();
}
