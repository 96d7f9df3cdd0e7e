#pragma once

#include <QFuture>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// The program's client of its own backend: the server-side configuration (SSC),
// the start-up report, remote log entries, and the start-up sequence that runs
// them on a pool thread. Nothing the backend answers is needed to work: every
// failure ends in a log line and the built-in settings stay in force.
class ServerLog {
 public:
  using SSC = std::map<std::string, std::string>;

  // The configuration; empty after any failure.
  static SSC GetSSC();
  // Stores the support contacts and sign-in coordinates the configuration carries.
  static void ApplySSC(SSC ssc);
  static void AppStart();
  static void AppLogs(const std::string& log_type, const std::string& message);
  // Ends the program through the expiry notice when the configuration lists the
  // running version as expired. Returns once the notice has been dismissed.
  static void check_version_expire(SSC ssc);

  // The start-up sequence: configuration, expiry, start-up report, crash report,
  // old-log clean-up. Blocks; background_operation_new_thread runs it on the pool.
  static void background_operation();
  static QFuture<void> background_operation_new_thread();
  static QFuture<void> AppLogs_new_thread(const std::string& log_type, const std::string& message);

  // A setting the configuration may replace ("support_email", "support_wechat",
  // "login_site", ...); the built-in value until it does, "" for unknown keys.
  static std::string setting(const std::string& key);

  // The request token for a time stamp: upper-case MD5 of the salt and the stamp.
  static std::string make_token(const std::string& ctime);
  // A request body: {"key": "value","key2": "value2"} with every key and value
  // escaped as JSON strings, in the order given.
  static std::string json_body(const std::vector<std::pair<std::string, std::string>>& fields);

  // What an expired version leads to, run on the worker thread that found it and
  // expected to return once the user has been told. The window installs its
  // dialog; without one the application is asked to quit.
  static void set_version_expired_notice(std::function<void()> notice);
};
