#include <gtest/gtest.h>

#include <QFile>

#include "HttpsTestServer.h"
#include "TestEnvironment.h"
#include "Util/HttpUtil.h"

namespace {
const char kPage[] = "<html><body>Internal error</body></html>";
}  // namespace

TEST(HttpUtil, TalksOnlyToTrustedServersAndReportsEveryOutcome) {
  HttpsTestServer https;
  httplib::SSLServer& s = https.server();
  s.Get("/broken", [](const httplib::Request&, httplib::Response& r) {
    r.status = 500;
    r.set_content(kPage, "text/html");
  });
  s.Get("/target",
        [](const httplib::Request&, httplib::Response& r) { r.set_content("arrived", "text/plain"); });
  const auto moved = [](const httplib::Request&, httplib::Response& r) { r.set_redirect("/target"); };
  s.Get("/moved", moved);
  s.Post("/moved", moved);
  s.Post("/slow", [&https](const httplib::Request&, httplib::Response& r) {
    https.hold(120);
    r.set_content("late", "text/plain");
  });
  https.start();
  int curl = 0, http = 0;
  std::string response;

  // The system's trust store, or a CA file of another certificate, does not know it.
  HttpUtil::set_use_ca_file(false);
  HttpUtil::get(https.url("/target"), curl, http, response);
  EXPECT_EQ(curl, 60) << response;  // CURLE_PEER_FAILED_VERIFICATION
  HttpUtil::set_ca_file(HttpsTestServer().ca_file());
  HttpUtil::set_use_ca_file(true);
  HttpUtil::get(https.url("/target"), curl, http, response);
  EXPECT_EQ(curl, 60) << response;
  EXPECT_EQ(http, -1);
  HttpUtil::set_ca_file(https.ca_file());

  HttpUtil::get(https.url("/broken"), curl, http, response);
  EXPECT_EQ(curl, 0);
  EXPECT_EQ(http, 500);
  EXPECT_EQ(response, kPage);
  const httplib::Headers sent = https.requests("/broken").at(0).headers;
  EXPECT_EQ(sent.find("User-Agent")->second, "Kovadle_v1.0.1");
  EXPECT_EQ(sent.find("Content-Type")->second, "application/json");

  HttpUtil::get(unreachable_backend_url(), curl, http, response);
  EXPECT_GT(curl, 0);
  EXPECT_EQ(http, -1);
  EXPECT_EQ(response.rfind("curl_easy_perform() failed:", 0), 0u) << response;
  EXPECT_EQ(response.substr(response.size() - 10), ",response:") << response;

  // Only a post stays at a redirect.
  HttpUtil::post(https.url("/moved"), "{}", curl, http, response);
  EXPECT_EQ(http, 302);
  HttpUtil::get(https.url("/moved"), curl, http, response);
  EXPECT_EQ(response, "arrived");
  EXPECT_EQ(HttpUtil::get_redirect_url(https.url("/moved"), curl, http), https.url("/target"));

  const std::string folder = make_temp_folder("download");
  const size_t requests = https.requests().size();
  HttpUtil::download_file(https.url("/target"), folder + "/missing/file", curl, http);
  EXPECT_EQ(curl, -3);
  EXPECT_EQ(http, -3);
  EXPECT_EQ(https.requests().size(), requests);
  HttpUtil::download_file(https.url("/moved"), folder + "/file", curl, http);
  QFile file(QString::fromStdString(folder + "/file"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "arrived");

  HttpUtil::post(https.url("/slow"), "{}", curl, http, response);
  EXPECT_EQ(curl, 28) << response;  // CURLE_OPERATION_TIMEDOUT, after 10 s
}

TEST(HttpUtil, UrlCodingRoundTripsAndLeavesBrokenEscapesAlone) {
  const std::string text = "a b/c~-._\xE4\xB8\xAD%+";
  EXPECT_EQ(HttpUtil::url_encode(text), "a+b%2Fc~-._%E4%B8%AD%25%2B");
  EXPECT_EQ(HttpUtil::url_decode(HttpUtil::url_encode(text)), text);
  EXPECT_EQ(HttpUtil::url_decode("%e4%B8%ad 100% %4 %zz"), "\xE4\xB8\xAD 100% %4 %zz");
}
