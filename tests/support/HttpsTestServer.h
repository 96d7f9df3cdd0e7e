#pragma once

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MediaFixtures.h"
#include "TestEnvironment.h"

// A real HTTPS server on 127.0.0.1 (a free port) with a certificate made by
// openssl, which is also the CA file that trusts it. Add handlers before start().
class HttpsTestServer {
 public:
  struct Request {
    std::string target, body;  // target: path and query as sent
    httplib::Headers headers;
  };

  HttpsTestServer() : cert_(make_temp_folder("cert") + "/cert.pem") {
    const std::string key = cert_ + ".key";
    int exit_code = -1;
    const std::string output =
        run_and_capture("openssl",
                        "req\n-x509\n-newkey\nrsa:2048\n-nodes\n-days\n2\n-subj\n/CN=127.0.0.1\n-addext\n"
                        "subjectAltName=IP:127.0.0.1\n-keyout\n" +
                            key + "\n-out\n" + cert_,
                        true, 120000, &exit_code);
    EXPECT_EQ(exit_code, 0) << output;
    server_ = std::make_unique<httplib::SSLServer>(cert_.c_str(), key.c_str());
    server_->set_logger([this](const httplib::Request& request, const httplib::Response&) {
      std::lock_guard<std::mutex> guard(lock_);
      requests_.push_back({request.target, request.body, request.headers});
    });
  }
  ~HttpsTestServer() {
    stopping_ = true;
    server_->stop();
    if (thread_.joinable()) thread_.join();
  }

  httplib::SSLServer& server() { return *server_; }
  void start() {
    port_ = server_->bind_to_any_port("127.0.0.1");  // listening from here on
    thread_ = std::thread([this] { server_->listen_after_bind(); });
  }
  std::string url(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::string ca_file() const { return cert_; }
  // The requests whose target starts with prefix, in order.
  std::vector<Request> requests(const std::string& prefix = "") {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<Request> found;
    for (const Request& request : requests_)
      if (request.target.rfind(prefix, 0) == 0) found.push_back(request);
    return found;
  }
  // For slow handlers: waits up to seconds, less once the server stops.
  void hold(int seconds) const {
    for (int waited = 0; !stopping_ && waited < seconds * 50; ++waited)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }

 private:
  std::string cert_;
  std::unique_ptr<httplib::SSLServer> server_;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::mutex lock_;
  std::vector<Request> requests_;
};
