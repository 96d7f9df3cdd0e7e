#pragma once

#include <httplib.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A self-signed certificate for 127.0.0.1 made with openssl in folder; the
// certificate file doubles as the CA file that trusts it.
struct TestCertificate {
  std::string cert;
  std::string key;
};
TestCertificate make_test_certificate(const std::string& folder);

// A real HTTPS server on 127.0.0.1 (a free port) for the backend client's tests.
// Register handlers on server() before start(); every request is recorded.
class HttpsTestServer {
 public:
  struct Request {
    std::string method;
    std::string target;  // path and query as sent
    std::string body;
    httplib::Headers headers;
  };

  explicit HttpsTestServer(const TestCertificate& certificate);
  ~HttpsTestServer();

  httplib::SSLServer& server() { return server_; }
  void start();
  std::string url(const std::string& path) const;
  std::vector<Request> requests();

  // For slow handlers: waits up to seconds, but returns as soon as the server stops.
  void hold(int seconds) const;

 private:
  httplib::SSLServer server_;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::mutex lock_;
  std::vector<Request> requests_;
};
