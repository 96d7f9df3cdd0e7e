#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "HttpsTestServer.h"
#include "TestEnvironment.h"
#include "net/HttpUtil.h"

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
  https.start();
  int curl = 0, http = 0;
  std::string response;
  const auto codes = [&curl, &http] { return std::to_string(curl) + "/" + std::to_string(http); };

  // The system's trust store, or a CA file of another certificate, does not know it.
  HttpUtil::set_use_ca_file(false);
  HttpUtil::get(https.url("/target"), curl, http, response);
  EXPECT_EQ(curl, 60) << response;  // CURLE_PEER_FAILED_VERIFICATION
  HttpUtil::set_ca_file(HttpsTestServer().ca_file());
  HttpUtil::set_use_ca_file(true);
  HttpUtil::get(https.url("/target"), curl, http, response);
  EXPECT_EQ(codes(), "60/-1") << response;
  HttpUtil::set_ca_file(https.ca_file());

  HttpUtil::get(https.url("/broken"), curl, http, response);
  EXPECT_EQ(codes() + " " + response, std::string("0/500 ") + kPage);
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
  EXPECT_EQ(codes(), "-3/-3");
  EXPECT_EQ(https.requests().size(), requests);
  HttpUtil::download_file(https.url("/moved"), folder + "/file", curl, http);
  QFile file(QString::fromStdString(folder + "/file"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "arrived");
}

TEST(HttpUtil, HostileRepliesEndSoonAndKeepNothing) {
  // Outlives the server: its threads may still be writing when the test ends.
  static const std::string chunk(64 * 1024, 'x');
  HttpsTestServer https;
  httplib::SSLServer& s = https.server();
  const auto endless = [](size_t, httplib::DataSink& sink) { return sink.write(chunk.data(), chunk.size()); };
  // Without a length, or announced as 300 MiB: past every cap either way.
  s.Get("/endless", [&](const auto&, auto& r) { r.set_chunked_content_provider("text/plain", endless); });
  s.Get("/announced", [&](const auto&, auto& r) {
    r.set_content_provider(300u << 20, "text/plain",
                           [&](size_t at, size_t, auto& sink) { return endless(at, sink); });
  });
  s.Get("/drip", [&https](const auto&, auto& r) {
    r.set_chunked_content_provider("text/plain", [&https](size_t, auto& sink) {
      https.hold(1);
      return sink.write("{", 1);
    });
  });
  s.Get("/loop", [](const auto&, auto& r) { r.set_redirect("/loop"); });
  s.Get("/downgrade", [&https](const auto&, auto& r) { r.set_redirect("http" + https.url("/").substr(5)); });
  // Exactly the cap, and one byte more, with and without the length announced.
  const std::string mebibyte(1 << 20, 'y');
  for (const size_t size : {mebibyte.size(), mebibyte.size() + 1}) {
    const std::string body = mebibyte + std::string(size - mebibyte.size(), 'z');
    s.Get("/sized-" + std::to_string(size),
          [body](const auto&, auto& r) { r.set_content(body, "text/plain"); });
    s.Get("/chunked-" + std::to_string(size), [body](const auto&, auto& r) {
      r.set_chunked_content_provider("text/plain", [body](size_t at, auto& sink) {
        if (at >= body.size()) {
          sink.done();
          return true;
        }
        return sink.write(body.data() + at, std::min<size_t>(body.size() - at, 64 * 1024));
      });
    });
  }
  https.start();
  HttpUtil::set_ca_file(https.ca_file());
  HttpUtil::set_use_ca_file(true);
  int curl = 0, http = 0;
  std::string response;
  // The bound only catches a hang: a drip ends after 10 s below 64 B/s.
  for (const auto& [path, code] :
       {std::pair{"/endless", 23}, {"/announced", 63}, {"/drip", 28}, {"/loop", 47}, {"/downgrade", 1}}) {
    QElapsedTimer clock;
    clock.start();
    HttpUtil::get(https.url(path), curl, http, response);
    EXPECT_EQ(std::to_string(curl) + "/" + std::to_string(http), std::to_string(code) + "/-1") << path;
    EXPECT_LT(clock.elapsed(), 120000) << path;
    EXPECT_LT(response.size(), 200u) << path;  // nothing of an oversized reply is handed on
  }
  EXPECT_EQ(https.requests("/loop").size(), 6u);  // the first request and five hops

  // The cap is exact: a reply of 1 MiB arrives whole; one byte more is refused.
  for (const auto& [path, expected] : {std::pair{"/sized-1048576", "0/200"},
                                       {"/chunked-1048576", "0/200"},
                                       {"/sized-1048577", "63/-1"},
                                       {"/chunked-1048577", "23/-1"}}) {
    HttpUtil::get(https.url(path), curl, http, response);
    EXPECT_EQ(std::to_string(curl) + "/" + std::to_string(http), expected) << path;
    if (std::string(expected) == "0/200") {
      EXPECT_EQ(response, mebibyte) << path;
    } else {
      EXPECT_LT(response.size(), 200u) << path;
    }
  }
  const std::string file = make_temp_folder("download") + "/installer";
  HttpUtil::download_file(https.url("/announced"), file, curl, http);
  EXPECT_EQ(std::to_string(curl) + " " + std::to_string(QFileInfo(QString::fromStdString(file)).size()),
            "63 0");
}

TEST(HttpUtil, UrlCodingRoundTripsAndLeavesBrokenEscapesAlone) {
  const std::string text = "a b/c~-._\xE4\xB8\xAD%+";
  EXPECT_EQ(HttpUtil::url_encode(text), "a+b%2Fc~-._%E4%B8%AD%25%2B");
  EXPECT_EQ(HttpUtil::url_decode(HttpUtil::url_encode(text)), text);
  EXPECT_EQ(HttpUtil::url_decode("%e4%B8%ad 100% %4 %zz"), "\xE4\xB8\xAD 100% %4 %zz");
}
