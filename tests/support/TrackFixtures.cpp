#include "TrackFixtures.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fstream>
#include <vector>

#include "MediaFixtures.h"

namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& out, int value) {
  out.push_back(static_cast<unsigned char>(value >> 8));
  out.push_back(static_cast<unsigned char>(value));
}

// One segment: "PG", presentation and decoding time (90 kHz), type, size, payload.
void segment(Bytes& out, unsigned pts, unsigned char type, const Bytes& payload) {
  out.insert(out.end(), {'P', 'G'});
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<unsigned char>(pts >> shift));
  out.insert(out.end(), 4, 0);
  out.push_back(type);
  put16(out, static_cast<int>(payload.size()));
  out.insert(out.end(), payload.begin(), payload.end());
}

// A display set: composition, window, and (when shown) palette and picture, then end.
void displaySet(Bytes& out, unsigned pts, int width, int height, bool shown) {
  const int x = 100, y = height - 60, w = 64, h = 16;
  Bytes composition;
  put16(composition, width);
  put16(composition, height);
  composition.push_back(0x10);  // frame rate code
  put16(composition, shown ? 1 : 2);
  composition.push_back(shown ? 0x80 : 0x00);  // epoch start / normal
  composition.insert(composition.end(), {0, 0, static_cast<unsigned char>(shown ? 1 : 0)});
  if (shown) {
    put16(composition, 1);  // object 1 in window 0, not cropped
    composition.insert(composition.end(), {0, 0});
    put16(composition, x);
    put16(composition, y);
  }
  segment(out, pts, 0x16, composition);
  Bytes window = {1, 0};
  for (int value : {x, y, w, h}) put16(window, value);
  segment(out, pts, 0x17, window);
  if (shown) {
    segment(out, pts, 0x14, {0, 0, 1, 235, 128, 128, 255});  // entry 1: opaque white
    Bytes picture;
    put16(picture, w);
    put16(picture, h);
    for (int row = 0; row < h; ++row)  // a run of w pixels of colour 1, then end of line
      picture.insert(picture.end(), {0, static_cast<unsigned char>(0xC0 | (w >> 8)),
                                     static_cast<unsigned char>(w & 0xFF), 1, 0, 0});
    Bytes object;
    put16(object, 1);
    object.insert(object.end(), {0, 0xC0});  // version, first and last fragment
    const size_t length = picture.size();
    object.insert(object.end(),
                  {static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 8),
                   static_cast<unsigned char>(length)});
    object.insert(object.end(), picture.begin(), picture.end());
    segment(out, pts, 0x15, object);
  }
  segment(out, pts, 0x80, {});
}

std::string encode(const std::string& arguments, const std::string& path) {
  int code = -1;
  const std::string output = run_and_capture(
      tool_path("encoder"), "-y\n-loglevel\nerror\n" + arguments + "\n" + path, true, 120000, &code);
  if (code != 0) {
    ADD_FAILURE() << "the encoder could not make " << path << ":\n" << output;
    return std::string();
  }
  return path;
}

const char* const kVideoAndTwoAudio =
    "-f\nlavfi\n-i\ntestsrc2=size=640x360:rate=25:duration=2\n"
    "-f\nlavfi\n-i\nsine=frequency=440:duration=2\n"
    "-f\nlavfi\n-i\nsine=frequency=660:duration=2,pan=stereo|c0=c0|c1=c0";

}  // namespace

void write_pgs_subtitle(const std::string& path, int width, int height) {
  Bytes bytes;
  displaySet(bytes, 45000, width, height, true);
  displaySet(bytes, 135000, width, height, false);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string make_multitrack_clip(const std::string& folder) {
  const std::string srt = folder + "/subs.srt", pgs = folder + "/subs.sup", font = folder + "/font.ttf";
  std::ofstream(srt)
      << "1\n00:00:00,200 --> 00:00:01,000\nHello\n\n2\n00:00:01,100 --> 00:00:01,800\nWorld\n";
  write_pgs_subtitle(pgs, 640, 360);
  std::ofstream(font) << "not really a font\n";
  // The picture subtitle is read with its ends fixed, or its copies would last for days.
  return encode(std::string(kVideoAndTwoAudio) + "\n-i\n" + srt + "\n-fix_sub_duration\n-i\n" + pgs +
                    "\n-map\n0\n-map\n1\n-map\n2\n-map\n3\n-map\n4\n-map\n4\n-map\n4\n"
                    "-c:v\nlibx264\n-preset\nultrafast\n-c:a\naac\n"
                    "-c:s:0\nsrt\n-c:s:1\ncopy\n-c:s:2\ndvdsub\n-c:s:3\ndvbsub\n"
                    "-metadata:s:a:0\nlanguage=eng\n-metadata:s:a:0\ntitle=English\n"
                    "-metadata:s:a:1\nlanguage=ger\n-metadata:s:a:1\ntitle=Deutsch = gut\n"
                    "-metadata:s:s:0\nlanguage=eng\n-disposition:s:0\nforced\n-metadata:s:s:1\nlanguage=fre\n"
                    "-attach\n" +
                    font + "\n-metadata:s:t\nmimetype=application/x-truetype-font",
                folder + "/tracks.mkv");
}

std::string make_data_stream_clip(const std::string& folder) {
  const std::string srt = folder + "/spanish.srt";
  std::ofstream(srt) << "1\n00:00:00,200 --> 00:00:01,000\nHola\n";
  return encode(
      "-f\nlavfi\n-i\ntestsrc2=size=640x360:rate=25:duration=2\n-f\nlavfi\n-i\nsine=duration=2\n-i\n" + srt +
          "\n-map\n0\n-map\n1\n-map\n2\n-c:v\nlibx264\n-preset\nultrafast\n-c:a\naac\n-c:s\nmov_text\n"
          "-metadata:s:s:0\nlanguage=spa\n-timecode\n01:00:00:00",
      folder + "/timecode.mp4");
}

std::string stream_list(const std::string& path) {
  const std::string json = run_and_capture(
      tool_path("mediainfo"),
      "-v\nerror\n-show_entries\nstream=codec_type,codec_name:stream_tags=language,title\n-of\njson\n" +
          path);
  std::string list;
  for (const QJsonValue& value :
       QJsonDocument::fromJson(QByteArray::fromStdString(json))["streams"].toArray()) {
    const QJsonObject stream = value.toObject();
    const QJsonObject tags = stream["tags"].toObject();
    list += std::string(list.empty() ? "" : ", ") + stream["codec_type"].toString().toStdString() + "/" +
            stream["codec_name"].toString().toStdString() + "/" + tags["language"].toString().toStdString() +
            "/" + tags["title"].toString().toStdString();
  }
  return list;
}
