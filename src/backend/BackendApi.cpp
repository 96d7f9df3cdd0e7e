#include "backend/BackendApi.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QUrl>

#include "log/LogUtil.h"

namespace {
const char* const kBuiltInBackendUrl = "https://api.kovadle.com/KovadleBackend/v1";
}  // namespace

std::string get_backend_url() {
  const QByteArray custom = qgetenv("KOVADLE_BACKEND_URL");
  std::string url = custom.isEmpty() ? std::string(kBuiltInBackendUrl) : custom.toStdString();
  if (!custom.isEmpty() && !backend_url_allowed(url)) {
    // Reports carry the device and the machine: never in clear text across a network.
    log_info(
        "get_backend_url, KOVADLE_BACKEND_URL refused (https, or http to this machine only), "
        "using the built-in backend.");
    url = kBuiltInBackendUrl;
  }
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

bool backend_url_allowed(const std::string& url) {
  const QUrl parsed(QString::fromUtf8(url.c_str()), QUrl::StrictMode);
  if (!parsed.isValid() || parsed.host().isEmpty()) return false;
  if (parsed.scheme() == "https") return true;
  if (parsed.scheme() != "http") return false;
  return parsed.host() == "localhost" || QHostAddress(parsed.host()).isLoopback();
}

std::string get_ssc_api() { return "getSSC"; }
std::string get_app_start_api() { return "p_app_start"; }
std::string get_app_logs_api() { return "p_app_logs"; }
std::string get_request_salt() { return "5d0f3a72-8e41-4b9c-a6d2-1f7e9c03b584"; }
std::string get_installer_info_file_name() { return "installer_info.dat"; }
