#include <gtest/gtest.h>

#include <QFile>

#include "HttpsTestServer.h"
#include "TestEnvironment.h"
#include "Util/HttpUtil.h"

namespace {

const char kPage[] = "<html><body>Internal error</body></html>";

// One server for every case here, trusted through the CA-file setting.
class HttpUtilTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    certificate_ = make_test_certificate(make_temp_folder("cert"));
    server_ = new HttpsTestServer(certificate_);
    httplib::SSLServer& s = server_->server();
    s.Get("/broken", [](const httplib::Request&, httplib::Response& r) {
      r.status = 500;
      r.set_content(kPage, "text/html");
    });
    s.Get("/target",
          [](const httplib::Request&, httplib::Response& r) { r.set_content("arrived", "text/plain"); });
    const auto moved = [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/target"); };
    s.Get("/moved", moved);
    s.Post("/moved", moved);
    s.Post("/echo",
           [](const httplib::Request& q, httplib::Response& r) { r.set_content(q.body, "text/plain"); });
    s.Post("/slow", [](const httplib::Request&, httplib::Response& r) {
      server_->hold(120);
      r.set_content("late", "text/plain");
    });
    server_->start();
  }
  static void TearDownTestSuite() { delete server_; }

  void SetUp() override {
    HttpUtil::set_ca_file(certificate_.cert);
    HttpUtil::set_use_ca_file(true);
  }

  static TestCertificate certificate_;
  static HttpsTestServer* server_;
  int curl_code = 0;
  int http_code = 0;
  std::string response;
};

TestCertificate HttpUtilTest::certificate_;
HttpsTestServer* HttpUtilTest::server_ = nullptr;

}  // namespace

TEST_F(HttpUtilTest, CompletedTransfersCarryTheirStatusAndFailuresTheirCode) {
  HttpUtil::get(server_->url("/broken"), curl_code, http_code, response);
  EXPECT_EQ(curl_code, 0);
  EXPECT_EQ(http_code, 500);
  EXPECT_EQ(response, kPage);
  const HttpsTestServer::Request sent = server_->requests().back();
  EXPECT_EQ(sent.headers.find("User-Agent")->second, "Kovadle_v1.0.1");
  EXPECT_EQ(sent.headers.find("Content-Type")->second, "application/json");
  EXPECT_EQ(sent.headers.find("Accept")->second, "*/*");

  const std::string nowhere = unreachable_backend_url();
  HttpUtil::get(nowhere, curl_code, http_code, response);
  EXPECT_GT(curl_code, 0);
  EXPECT_EQ(http_code, -1);
  EXPECT_EQ(response.rfind("curl_easy_perform() failed:", 0), 0u) << response;
  EXPECT_EQ(response.substr(response.size() - 10), ",response:") << response;

  // A post never follows a redirect; a get does.
  HttpUtil::post(server_->url("/moved"), "{}", curl_code, http_code, response);
  EXPECT_EQ(http_code, 302);
  HttpUtil::get(server_->url("/moved"), curl_code, http_code, response);
  EXPECT_EQ(http_code, 200);
  EXPECT_EQ(response, "arrived");
  HttpUtil::post(server_->url("/echo"), R"({"a": "b"})", curl_code, http_code, response);
  EXPECT_EQ(response, R"({"a": "b"})");
}

TEST_F(HttpUtilTest, DownloadsIntoAFileAndReportsTheUrlAfterRedirects) {
  const std::string folder = make_temp_folder("download");
  const size_t before = server_->requests().size();
  HttpUtil::download_file(server_->url("/target"), folder + "/missing/file.txt", curl_code, http_code);
  EXPECT_EQ(curl_code, -3);
  EXPECT_EQ(http_code, -3);
  EXPECT_EQ(server_->requests().size(), before);

  HttpUtil::download_file(server_->url("/moved"), folder + "/file.txt", curl_code, http_code);
  EXPECT_EQ(http_code, 200);
  QFile file(QString::fromStdString(folder + "/file.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "arrived");

  EXPECT_EQ(HttpUtil::get_redirect_url(server_->url("/moved"), curl_code, http_code),
            server_->url("/target"));
}

TEST_F(HttpUtilTest, RefusesAServerItCannotTrust) {
  // The system's trust store does not know the test certificate.
  HttpUtil::set_use_ca_file(false);
  HttpUtil::get(server_->url("/target"), curl_code, http_code, response);
  EXPECT_EQ(curl_code, 60) << response;  // CURLE_PEER_FAILED_VERIFICATION
  EXPECT_EQ(http_code, -1);

  // Nor does a CA file of another certificate.
  HttpUtil::set_ca_file(make_test_certificate(make_temp_folder("other-cert")).cert);
  HttpUtil::set_use_ca_file(true);
  HttpUtil::get(server_->url("/target"), curl_code, http_code, response);
  EXPECT_EQ(curl_code, 60) << response;
}

TEST_F(HttpUtilTest, SlowPostIsCutByItsTimeOut) {
  HttpUtil::post(server_->url("/slow"), "{}", curl_code, http_code, response);
  EXPECT_EQ(curl_code, 28) << response;  // CURLE_OPERATION_TIMEDOUT, after 10 s
  EXPECT_EQ(http_code, -1);
}

TEST(HttpUtilCoding, EncodesAndDecodesBackExactly) {
  const std::string text = "a b/c~-._\xE4\xB8\xAD%+";
  EXPECT_EQ(HttpUtil::url_encode(text), "a+b%2Fc~-._%E4%B8%AD%25%2B");
  EXPECT_EQ(HttpUtil::url_decode(HttpUtil::url_encode(text)), text);
  EXPECT_EQ(HttpUtil::url_decode("%e4%B8%ad"), "\xE4\xB8\xAD");
  // A "%" without two hex digits after it stays as it is.
  EXPECT_EQ(HttpUtil::url_decode("100%"), "100%");
  EXPECT_EQ(HttpUtil::url_decode("%4"), "%4");
  EXPECT_EQ(HttpUtil::url_decode("%zz%4g"), "%zz%4g");
}
