#pragma once

#include <string>

// What an output container holds beside its one video stream, as the encoder
// writes it: how many audio tracks, which subtitles (and in which codec), and
// whether a track's language and title survive.
class ContainerTracks {
 public:
  enum class SubtitleKind { Text, Image, Other };

  // The rules of the container the encoder picks for an output extension
  // (".mp4", ".MKV", ...); an unknown one is taken to hold no subtitles.
  static ContainerTracks For(const std::string& extension);
  static SubtitleKind KindOf(const std::string& subtitleCodec);

  // "MP4", "MKV", ...
  const std::string& Name() const { return name_; }
  // At most this many audio tracks; 0 for no limit.
  int AudioLimit() const { return audioLimit_; }
  bool KeepsLanguages() const { return keepsLanguages_; }
  bool KeepsTitles() const { return keepsTitles_; }
  // MP4 players show a track's handler name as its title.
  bool TitleAsHandlerName() const { return titleAsHandlerName_; }
  // The usual command (no stream named) keeps the first subtitle it can turn into
  // text for this container (MKV); other containers get none from it.
  bool KeepsOneTextSubtitleUnasked() const { return textSubtitleUnasked_; }
  // How an input subtitle of this codec goes into the container: "copy",
  // "mov_text", "ass"; "" when the container cannot hold it.
  std::string SubtitleEncoding(const std::string& subtitleCodec) const;

 private:
  std::string name_;
  std::string extension_;
  int audioLimit_ = 0;
  bool keepsLanguages_ = true;
  bool keepsTitles_ = true;
  bool titleAsHandlerName_ = false;
  bool textSubtitleUnasked_ = false;
};
