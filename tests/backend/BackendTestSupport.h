#pragma once

#include <glog/logging.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "HttpsTestServer.h"
#include "TestEnvironment.h"
#include "Util/HttpUtil.h"
#include "Util/LogUtil.h"

// The program's backend, played on 127.0.0.1: answers the configuration request
// with a settable status and body, takes every report with "ok".
class FakeBackend {
 public:
  FakeBackend()
      : certificate_(make_test_certificate(make_temp_folder("backend-cert"))), server_(certificate_) {
    server_.server().Get("/KovadleBackend/v1/getSSC", [this](const httplib::Request&, httplib::Response& r) {
      std::lock_guard<std::mutex> guard(lock_);
      r.status = status_;
      r.set_content(ssc_, "application/json");
    });
    for (const char* report : {"/KovadleBackend/v1/p_app_start", "/KovadleBackend/v1/p_app_logs"})
      server_.server().Post(
          report, [](const httplib::Request&, httplib::Response& r) { r.set_content("ok", "text/plain"); });
    server_.start();
  }

  // Points this process's backend client here until the backend goes.
  void serve_this_process() {
    setenv("KOVADLE_BACKEND_URL", base_url().c_str(), 1);
    HttpUtil::set_ca_file(certificate_.cert);
    HttpUtil::set_use_ca_file(true);
  }
  ~FakeBackend() { setenv("KOVADLE_BACKEND_URL", unreachable_backend_url().c_str(), 1); }

  void answer_ssc(int status, const std::string& body) {
    std::lock_guard<std::mutex> guard(lock_);
    status_ = status;
    ssc_ = body;
  }

  std::string base_url() const { return server_.url("/KovadleBackend/v1"); }
  const TestCertificate& certificate() const { return certificate_; }

  // The requests made to one endpoint ("getSSC", "p_app_start", "p_app_logs"), in order.
  std::vector<HttpsTestServer::Request> requests_to(const std::string& api) {
    std::vector<HttpsTestServer::Request> found;
    for (const auto& request : server_.requests())
      if (request.target.rfind("/KovadleBackend/v1/" + api, 0) == 0) found.push_back(request);
    return found;
  }

 private:
  TestCertificate certificate_;
  HttpsTestServer server_;
  std::mutex lock_;
  int status_ = 200;
  std::string ssc_ = R"({"code":"success"})";
};

// Collects the program log lines written while it exists.
class LogCapture : public google::LogSink {
 public:
  LogCapture() {
    log_info("LogCapture, begin.");  // sets logging up before the sink joins
    google::AddLogSink(this);
  }
  ~LogCapture() override { google::RemoveLogSink(this); }

  using google::LogSink::send;
  void send(google::LogSeverity, const char*, const char*, int, const google::LogMessageTime&,
            const char* message, size_t length) override {
    std::lock_guard<std::mutex> guard(lock_);
    lines_.emplace_back(message, length);
  }

  std::vector<std::string> lines() {
    std::lock_guard<std::mutex> guard(lock_);
    return lines_;
  }

  // The lines that start with prefix, in order.
  std::vector<std::string> starting(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : lines())
      if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};
