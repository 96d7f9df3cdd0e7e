#pragma once

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <mutex>
#include <string>

#include "HttpsTestServer.h"
#include "net/HttpUtil.h"

// The program's backend on 127.0.0.1: answers the configuration request with a
// settable status and body, every report with "ok".
class FakeBackend : public HttpsTestServer {
 public:
  FakeBackend() {
    server().Get("/KovadleBackend/v1/getSSC", [this](const httplib::Request&, httplib::Response& r) {
      std::lock_guard<std::mutex> guard(ssc_lock_);
      r.status = status_;
      r.set_content(ssc_, "application/json");
    });
    server().Post(R"(/KovadleBackend/v1/p_app_(start|logs))",
                  [](const httplib::Request&, httplib::Response& r) { r.set_content("ok", "text/plain"); });
    start();
  }
  ~FakeBackend() { setenv("KOVADLE_BACKEND_URL", unreachable_backend_url().c_str(), 1); }

  void answer_ssc(int status, const std::string& body) {
    std::lock_guard<std::mutex> guard(ssc_lock_);
    status_ = status;
    ssc_ = body;
  }
  std::string base_url() const { return url("/KovadleBackend/v1"); }
  // Points this process's backend client here while the backend lives.
  void serve_this_process() {
    setenv("KOVADLE_BACKEND_URL", base_url().c_str(), 1);
    HttpUtil::set_ca_file(ca_file());
    HttpUtil::set_use_ca_file(true);
  }
  std::vector<Request> requests_to(const std::string& api) { return requests("/KovadleBackend/v1/" + api); }

 private:
  std::mutex ssc_lock_;
  int status_ = 200;
  std::string ssc_ = R"({"code":"success"})";
};

// Every program log file in the folder, one after the other.
inline QString read_logs(const QString& folder) {
  QString all;
  for (const QString& name : QDir(folder).entryList({"KV*"}, QDir::Files | QDir::NoSymLinks)) {
    QFile file(folder + "/" + name);
    if (file.open(QIODevice::ReadOnly)) all += QString::fromUtf8(file.readAll());
  }
  return all;
}

// An "installer" that only leaves a marker file (its path + ".ran") next to itself.
inline void write_installer(const std::string& path) {
  QFile script(QString::fromStdString(path));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write(("#!/bin/sh\ntouch '" + path + ".ran'\n").c_str());
  script.close();
  script.setPermissions(script.permissions() | QFile::ExeOwner);
}
