#include "log/LogUtil.h"

#include <glog/logging.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "environment/AppConstants.h"
#include "platform/OSUtil.h"

namespace {

// Kept in a fixed buffer so the crash writer needs no allocation to find it.
char g_dump_path[4096] = {0};

// Called by glog, possibly several times, while the process dies.
void crash_writer(const char* data, size_t size) {
  if (FILE* dump = std::fopen(g_dump_path, "ab")) {
    std::fwrite(data, 1, size, dump);
    std::fclose(dump);
  }
  LOG(ERROR) << std::string(data, size);
  std::printf("QDR,size:%zu\nQDR,str:%.*s\n", size, static_cast<int>(size), data);
  std::fflush(stdout);
}

void shutdown_logging() { google::ShutdownGoogleLogging(); }

struct LogSetup {
  LogSetup() {
    const std::string folder = get_applogs_dir();
    std::snprintf(g_dump_path, sizeof(g_dump_path), "%s", get_dump_log_path().c_str());
    // First: glog names its "<program>.INFO" links after the name known when the
    // file objects are made, and the settings below already make them.
    google::InitGoogleLogging("KV");
    FLAGS_log_dir = folder;
    FLAGS_max_log_size = 100;
    FLAGS_stop_logging_if_full_disk = true;
    // Every line straight to the file: a killed program keeps all it logged.
    FLAGS_logbuflevel = -1;
    FLAGS_logbufsecs = 1;
    google::SetLogFilenameExtension(".log");
    google::SetStderrLogging(google::GLOG_INFO);
    // glog's failure handler also takes SIGTERM, but a termination request (log-out,
    // shutdown, a plain kill) is no crash: keep what SIGTERM did before, the default
    // action or the handler that ends the program normally.
    void (*previous_term)(int) = std::signal(SIGTERM, SIG_DFL);
    google::InstallFailureSignalHandler();
    std::signal(SIGTERM, previous_term == SIG_ERR ? SIG_DFL : previous_term);
    google::InstallFailureWriter(&crash_writer);
    std::atexit(&shutdown_logging);
  }
};

void ensure_logging() { static LogSetup setup; }

void write_line(google::LogSeverity severity, const char* file, int line, const std::string& text) {
  ensure_logging();
  google::LogMessage(file, line, severity).stream() << text;
}

}  // namespace

std::string get_dump_log_path() { return OSUtil::pathJoin(get_applogs_dir(), "dump.log"); }

void log_info(const std::string& text, const char* file, int line) {
  write_line(google::GLOG_INFO, file, line, text);
}

void log_warning(const std::string& text, const char* file, int line) {
  write_line(google::GLOG_WARNING, file, line, text);
}

void log_error(const std::string& text, const char* file, int line) {
  write_line(google::GLOG_ERROR, file, line, text);
}

void flush_logs() {
  ensure_logging();
  LOG(INFO) << "Clean google log.";
  google::FlushLogFiles(google::GLOG_INFO);
}

void set_log_copy_to_stderr(bool copy) {
  ensure_logging();
  google::SetStderrLogging(copy ? google::GLOG_INFO : google::GLOG_FATAL);
}

void check_expired_logs() {
  const int days = is_debug_mode() ? 1 : 90;
  log_info("Check expired logs, expire_days:" + std::to_string(days));
  const QDir folder(QString::fromUtf8(get_applogs_dir().c_str()));
  const QFileInfoList files =
      folder.entryInfoList(QStringList() << "*.log", QDir::Files | QDir::NoDotAndDotDot);
  const QDateTime threshold = QDateTime::currentDateTime().addDays(-days);
  for (const QFileInfo& file : files) {
    if (file.lastModified() < threshold) {
      const QString path = file.absoluteFilePath();
      QFile::remove(path);
      log_info("Deleted log:" + QDir::toNativeSeparators(path).toUtf8().toStdString());
    }
  }
}
