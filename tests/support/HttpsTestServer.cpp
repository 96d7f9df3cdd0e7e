#include "HttpsTestServer.h"

#include <gtest/gtest.h>

#include <chrono>

#include "MediaFixtures.h"

TestCertificate make_test_certificate(const std::string& folder) {
  const TestCertificate made{folder + "/cert.pem", folder + "/key.pem"};
  int exit_code = -1;
  const std::string output =
      run_and_capture("openssl",
                      "req\n-x509\n-newkey\nrsa:2048\n-nodes\n-days\n2\n-subj\n/CN=127.0.0.1\n-addext\n"
                      "subjectAltName=IP:127.0.0.1\n-keyout\n" +
                          made.key + "\n-out\n" + made.cert,
                      true, 120000, &exit_code);
  EXPECT_EQ(exit_code, 0) << output;
  return made;
}

HttpsTestServer::HttpsTestServer(const TestCertificate& certificate)
    : server_(certificate.cert.c_str(), certificate.key.c_str()) {
  server_.set_logger([this](const httplib::Request& request, const httplib::Response&) {
    std::lock_guard<std::mutex> guard(lock_);
    requests_.push_back({request.method, request.target, request.body, request.headers});
  });
}

HttpsTestServer::~HttpsTestServer() {
  stopping_ = true;
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

void HttpsTestServer::start() {
  port_ = server_.bind_to_any_port("127.0.0.1");
  ASSERT_GT(port_, 0);
  // The socket already listens: connections wait in its backlog until the loop runs.
  thread_ = std::thread([this] { server_.listen_after_bind(); });
}

std::string HttpsTestServer::url(const std::string& path) const {
  return "https://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<HttpsTestServer::Request> HttpsTestServer::requests() {
  std::lock_guard<std::mutex> guard(lock_);
  return requests_;
}

void HttpsTestServer::hold(int seconds) const {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!stopping_ && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}
