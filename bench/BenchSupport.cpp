#include "BenchSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <memory>

std::string isolate_bench_folders() {
  static std::unique_ptr<QTemporaryDir> home;
  home = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kovadle-bench-XXXXXX");
  const QByteArray path = home->path().toUtf8();
  setenv("HOME", path.constData(), 1);
  setenv("XDG_DATA_HOME", (path + "/data").constData(), 1);
  setenv("XDG_CONFIG_HOME", (path + "/config").constData(), 1);
  setenv("XDG_CACHE_HOME", (path + "/cache").constData(), 1);
  return path.toStdString();
}

bool make_1080p_clip(const std::string& path, int seconds) {
  const QString duration = QString::number(seconds);
  QProcess ffmpeg;
  ffmpeg.start("ffmpeg", {"-y",
                          "-loglevel",
                          "error",
                          "-f",
                          "lavfi",
                          "-i",
                          "testsrc2=size=1920x1080:rate=30:duration=" + duration,
                          "-f",
                          "lavfi",
                          "-i",
                          "sine=frequency=440:sample_rate=44100:duration=" + duration,
                          "-c:v",
                          "libx264",
                          "-preset",
                          "ultrafast",
                          "-b:v",
                          "8M",
                          "-pix_fmt",
                          "yuv420p",
                          "-c:a",
                          "aac",
                          QString::fromStdString(path)});
  return ffmpeg.waitForFinished(600000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
         ffmpeg.exitCode() == 0;
}

double median_of(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
