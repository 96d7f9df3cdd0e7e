#include "backend/ServerLog.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <QCoreApplication>
#include <QString>
#include <QtConcurrent>
#include <mutex>

#include "backend/BackendApi.h"
#include "environment/AppConstants.h"
#include "environment/MachineInfo.h"
#include "log/LogUtil.h"
#include "net/HttpUtil.h"
#include "platform/OSUtil.h"
#include "text/SimpleJson.h"
#include "text/StringUtil.h"
#include "text/SyncString.h"
#include "text/TimeUtil.h"

namespace {

// The values a configuration may replace, in the order ApplySSC takes them, with
// the built-in values every start begins from.
const std::pair<const char*, const char*> kSettings[] = {
    {"login_site", "https://passport.kovadle.com/login"},
    {"login_appid", "kovadle_desktop"},
    {"login_appkey", "kovadle_desktop_v1"},
    {"login_redirect_url", "https://passport.kovadle.com/login/callback"},
    {"wxlogin_site", "https://open.weixin.qq.com/connect/qrconnect"},
    {"wxlogin_appid", "kovadle_wechat"},
    {"wxlogin_appkey", "kovadle_wechat_v1"},
    {"wxlogin_redirect_url", "https://passport.kovadle.com/wechat/callback"},
    {"support_email", "support@kovadle.com"},
    {"support_wechat", "KovadleService"},
};

// Built once; afterwards only the cells' values change, each under its own lock.
std::map<std::string, SyncString>& settings() {
  static std::map<std::string, SyncString> cells = [] {
    std::map<std::string, SyncString> made;
    for (const auto& entry : kSettings) made[entry.first].set(entry.second);
    return made;
  }();
  return cells;
}

struct NoticeSlot {
  std::mutex lock;
  std::function<void()> notice;
};

NoticeSlot& notice_slot() {
  static NoticeSlot slot;
  return slot;
}

// Only debug builds put URLs, bodies and configuration values into the log.
std::string shown(const std::string& value) { return is_debug_mode() ? value : std::string(); }

std::string endpoint(const std::string& api) { return get_backend_url() + "/" + api; }

std::string codes_text(int curl_code, int http_code) {
  return "ret_curl_code:" + std::to_string(curl_code) + ",ret_http_code:" + std::to_string(http_code);
}

// Posts one report's body and logs it and the answer under the reporting call's name.
void post_report(const std::string& call, const std::string& url, const std::string& body) {
  log_info("ServerLog::" + call + ",json_data:" + shown(body));
  int curl_code = 0;
  int http_code = 0;
  std::string response;
  HttpUtil::post(url, body, curl_code, http_code, response);
  log_info("ServerLog::" + call + "," + codes_text(curl_code, http_code) + ",response:" + response);
}

// A JSON string literal of the text, quotes included. Bytes that are not UTF-8
// become U+FFFD first, so the writer always accepts the text.
std::string json_string(const std::string& text) {
  const QByteArray valid = QString::fromUtf8(text.data(), static_cast<int>(text.size())).toUtf8();
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.String(valid.constData(), static_cast<rapidjson::SizeType>(valid.size()));
  return std::string(buffer.GetString(), buffer.GetSize());
}

}  // namespace

std::string ServerLog::setting(const std::string& key) {
  const auto found = settings().find(key);
  return found == settings().end() ? std::string() : found->second.get();
}

std::string ServerLog::make_token(const std::string& ctime) {
  return OSUtil::getStringMd5(get_request_salt() + ctime);
}

std::string ServerLog::json_body(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string body = "{";
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) body += ",";
    body += json_string(fields[i].first) + ": " + json_string(fields[i].second);
  }
  return body + "}";
}

void ServerLog::set_version_expired_notice(std::function<void()> notice) {
  std::lock_guard<std::mutex> guard(notice_slot().lock);
  notice_slot().notice = std::move(notice);
}

ServerLog::SSC ServerLog::GetSSC() {
  const std::string ctime = TimeUtil::datetime_stamp();
  const std::string url = endpoint(get_ssc_api()) + "?CTime=" + ctime + "&Token=" + make_token(ctime) +
                          "&DeviceID=" + get_device_id();
  log_info("ServerLog::GetSSC, full_url:" + shown(url));
  int curl_code = 0;
  int http_code = 0;
  std::string response;
  HttpUtil::get(url, curl_code, http_code, response);
  log_info("ServerLog::GetSSC, " + codes_text(curl_code, http_code) +
           (is_debug_mode() ? ",ret_response:" + response : std::string()));
  if (curl_code != 0 || http_code != 200) {
    log_info("ServerLog::GetSSC, curl_code is not 0 or http_code is not 200, GetSSC failed!");
    return SSC();
  }
  if (!SimpleJson::is_json(response)) {
    log_info("ServerLog::GetSSC, http response is not json format, GetSSC failed!");
    return SSC();
  }
  try {
    return SimpleJson::to_map(response);
  } catch (const std::string& reason) {
    // Valid JSON of another shape (a number value, an array) is refused whole.
    log_info("ServerLog::GetSSC, http response is not a flat object of texts, GetSSC failed!,reason:" +
             reason);
    return SSC();
  }
}

void ServerLog::ApplySSC(SSC ssc) {
  if (ssc.empty()) {
    log_info("ServerLog::ApplySSC, ssc is empty, exit ApplySSC.");
    return;
  }
  const auto code = ssc.find("code");
  if (code == ssc.end()) {
    log_info("ServerLog::ApplySSC, no code field in ssc, exit ApplySSC.");
    return;
  }
  if (code->second != "success") {
    const auto msg = ssc.find("msg");
    log_info("ServerLog::ApplySSC, ssc get failed with error:" +
             (msg == ssc.end() ? std::string() : msg->second));
    return;
  }
  for (const auto& entry : kSettings) {
    const auto found = ssc.find(entry.first);
    if (found != ssc.end()) settings().at(entry.first).set(StringUtil::trim(found->second));
    log_info(std::string("ServerLog::ApplySSC, ") + entry.first + ":" + shown(setting(entry.first)));
  }
}

void ServerLog::check_version_expire(SSC ssc) {
  const auto found = ssc.find("expired_versions");
  if (found == ssc.end()) return;
  const std::string list = StringUtil::trim(found->second);
  log_info("ServerLog::check_version_expire, expired_versions:" + shown(list));
  const std::string running = get_current_version();
  for (const std::string& version : StringUtil::split(list, ',')) {
    if (version != running) continue;
    log_info("ServerLog::check_version_expire, version is expired, will exit the app.");
    std::function<void()> notice;
    {
      std::lock_guard<std::mutex> guard(notice_slot().lock);
      notice = notice_slot().notice;
    }
    if (notice) {
      notice();
    } else if (QCoreApplication* app = QCoreApplication::instance()) {
      QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return;
  }
}

void ServerLog::AppStart() {
  const std::string url = endpoint(get_app_start_api());
  log_info("ServerLog::AppStart, begin,url:" + shown(url));
  std::vector<std::pair<std::string, std::string>> fields = {
      {"DeviceID", get_device_id()},
      {"UserID", get_user_id()},
      {"Version", get_current_version()},
      {"DistriID", get_distri_id()},
      {"Arch", OSUtil::getCpuArch()},
      {"OS", OSUtil::getOsName()},
      {"CPU", MachineInfo::cpu_name()},
      {"CPUCore", MachineInfo::cpu_core_count()},
      {"CPULogicCore", MachineInfo::cpu_logical_count()},
  };
  // The stamp is taken after the processor queries, which may take a while.
  const std::string ctime = TimeUtil::datetime_stamp();
  fields.insert(fields.begin(), {"CTime", ctime});
  fields.push_back({"Token", make_token(ctime)});
  const std::string body = json_body(fields);
  post_report("AppStart", url, body);
}

void ServerLog::AppLogs(const std::string& log_type, const std::string& message) {
  const std::string url = endpoint(get_app_logs_api());
  log_info("ServerLog::AppLogs, begin,log_type:" + log_type + ",message:" + message + ",url:" + shown(url));
  const std::string ctime = TimeUtil::datetime_stamp();
  const std::string body = json_body({{"CTime", ctime},
                                      {"DeviceID", get_device_id()},
                                      {"UserID", get_user_id()},
                                      {"Version", get_current_version()},
                                      {"LogType", log_type},
                                      {"Message", message},
                                      {"Token", make_token(ctime)}});
  post_report("AppLogs", url, body);
}

void ServerLog::background_operation() {
  log_info("ServerLog::background_operation, begin.");
  get_device_id();
  const SSC ssc = GetSSC();
  ApplySSC(ssc);
  check_version_expire(ssc);
  AppStart();
  const std::string dump = get_dump_log_path();
  if (OSUtil::isFileExist(dump)) {
    AppLogs("info", "App crashed in previous start.");
    OSUtil::removeFile(dump);
  }
  check_expired_logs();
  log_info("ServerLog::background_operation, end.");
}

QFuture<void> ServerLog::background_operation_new_thread() {
  log_info("ServerLog::background_operation_new_thread, begin.");
  // Set up here, on the interface thread, so that quitting aborts the requests
  // even when it comes before the pool thread has made its first one.
  HttpUtil::instance();
  QFuture<void> started = QtConcurrent::run(&ServerLog::background_operation);
  log_info("ServerLog::background_operation_new_thread, end.");
  return started;
}

QFuture<void> ServerLog::AppLogs_new_thread(const std::string& log_type, const std::string& message) {
  log_info("ServerLog::AppLogs_new_thread, begin.");
  HttpUtil::instance();
  QFuture<void> started = QtConcurrent::run([log_type, message] { AppLogs(log_type, message); });
  log_info("ServerLog::AppLogs_new_thread, end.");
  return started;
}
