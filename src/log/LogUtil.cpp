#include "log/LogUtil.h"

#include <glog/logging.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::atomic<std::string (*)()> g_folder_source{nullptr};

std::string log_folder() {
  std::string (*const source)() = g_folder_source;
  return source != nullptr ? source() : std::string();
}

// Kept in a fixed buffer so the crash writer needs no allocation to find it.
char g_dump_path[4096] = {0};

// Called by glog, possibly several times, while the process dies.
void crash_writer(const char* data, size_t size) {
  if (FILE* dump = g_dump_path[0] != '\0' ? std::fopen(g_dump_path, "ab") : nullptr) {
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
    const std::string folder = log_folder();
    std::snprintf(g_dump_path, sizeof(g_dump_path), "%s", get_dump_log_path().c_str());
    // First: glog names its "<program>.INFO" links after the name known when the
    // file objects are made, and the settings below already make them.
    google::InitGoogleLogging("KV");
    FLAGS_log_dir = folder;
    // No folder known: nothing is written anywhere else (glog would pick /tmp).
    FLAGS_logtostderr = folder.empty();
    FLAGS_max_log_size = 100;
    FLAGS_stop_logging_if_full_disk = true;
    // Every line straight to the file: a killed program keeps all it logged.
    FLAGS_logbuflevel = -1;
    FLAGS_logbufsecs = 1;
    google::SetLogFilenameExtension(".log");
    // A terminal sees what needs attention; the file has everything.
    google::SetStderrLogging(google::GLOG_WARNING);
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

void set_log_folder_source(std::string (*folder)()) { g_folder_source = folder; }

std::string get_dump_log_path() {
  const std::string folder = log_folder();
  return folder.empty() ? std::string() : (fs::u8path(folder) / "dump.log").u8string();
}

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

void set_log_warnings_to_stderr() {
  ensure_logging();
  google::SetStderrLogging(google::GLOG_WARNING);
}

void check_expired_logs() {
  const int days = is_debug_mode() ? 1 : 90;
  log_info("Check expired logs, expire_days:" + std::to_string(days));
  const std::string folder = log_folder();
  if (folder.empty()) return;
  // Paths are UTF-8 (u8path): on Windows a plain std::string would be read in the
  // ANSI code page.
  const auto threshold = fs::file_time_type::clock::now() - std::chrono::hours(24 * days);
  std::error_code error;
  for (fs::directory_iterator it(fs::u8path(folder), error), end; !error && it != end; it.increment(error)) {
    const fs::path path = it->path();
    std::string extension = path.extension().u8string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::error_code ignored;
    if (extension != ".log" || !it->is_regular_file(ignored)) continue;
    const auto modified = fs::last_write_time(path, ignored);
    if (ignored || modified >= threshold) continue;
    if (fs::remove(path, ignored)) log_info("Deleted log:" + path.u8string());
  }
}
