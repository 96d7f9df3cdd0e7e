#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

#include "platform/OSUtil.h"

std::string isolate_bench_folders() {
  static std::unique_ptr<QTemporaryDir> home;
  home = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kovadle-bench-XXXXXX");
  const QByteArray path = home->path().toUtf8();
  qputenv("HOME", path);
  qputenv("XDG_DATA_HOME", path + "/data");
  qputenv("XDG_CONFIG_HOME", path + "/config");
  qputenv("XDG_CACHE_HOME", path + "/cache");
  return path.toStdString();
}

bool make_1080p_clip(const std::string& path, int seconds) {
  const QString duration = QString::number(seconds);
  QProcess ffmpeg;
  // The encoder the program ships, in bin/ beside the benchmark.
  const QString toolPath = QString::fromStdString(
      OSUtil::pathJoin(OSUtil::pathJoin(OSUtil::getAppDir(), "bin"), "encoder" + OSUtil::executableSuffix()));
  ffmpeg.start(toolPath, {"-y",
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

int run_benchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
