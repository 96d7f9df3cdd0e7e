#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <atomic>
#include <regex>

#include "BackendTestSupport.h"
#include "backend/BackendApi.h"
#include "backend/ServerLog.h"
#include "environment/AppConstants.h"
#include "log/LogUtil.h"

namespace {
// The keys of a body in order, and its values by key.
std::pair<std::string, std::map<std::string, std::string>> fields_of(const std::string& body) {
  std::pair<std::string, std::map<std::string, std::string>> fields;
  const std::regex field(R"re("(\w+)": "((?:[^"\\]|\\.)*)")re");
  for (auto it = std::sregex_iterator(body.begin(), body.end(), field); it != std::sregex_iterator(); ++it) {
    fields.first += (*it)[1].str() + " ";
    fields.second[(*it)[1].str()] = (*it)[2].str();
  }
  return fields;
}
}  // namespace

TEST(ServerLog, RequestsCarryTheirFieldsInOrderEscapedWithAMatchingToken) {
  const std::string salted = get_request_salt() + "20231201_093005";
  EXPECT_EQ(
      ServerLog::make_token("20231201_093005"),
      QCryptographicHash::hash(salted.c_str(), QCryptographicHash::Md5).toHex().toUpper().toStdString());
  EXPECT_EQ(ServerLog::json_body({{"CTime", "1"}, {"CPU", "Intel \"Gold\" C:\\x\n"}, {"OS", "统信"}}),
            R"({"CTime": "1","CPU": "Intel \"Gold\" C:\\x\n","OS": "统信"})");

  FakeBackend backend;
  backend.serve_this_process();
  EXPECT_EQ(ServerLog::GetSSC(), (ServerLog::SSC{{"code", "success"}}));
  ServerLog::AppStart();
  ServerLog::AppLogs_new_thread("info", "user \"ann\"").waitForFinished();

  const std::string target = backend.requests_to("getSSC").at(0).target;
  std::smatch query;
  ASSERT_TRUE(std::regex_match(target, query,
                               std::regex(R"(.*/getSSC\?CTime=(\d{8}_\d{6})&Token=(\w+)&DeviceID=(\d+))")))
      << target;
  EXPECT_EQ(query[2].str(), ServerLog::make_token(query[1].str()));
  EXPECT_EQ(query[3].str(), get_device_id());
  auto [keys, values] = fields_of(backend.requests_to("p_app_start").at(0).body);
  EXPECT_EQ(keys, "CTime DeviceID UserID Version DistriID Arch OS CPU CPUCore CPULogicCore Token ");
  EXPECT_EQ(values["Token"], ServerLog::make_token(values["CTime"]));
  std::tie(keys, values) = fields_of(backend.requests_to("p_app_logs").at(0).body);
  EXPECT_EQ(keys, "CTime DeviceID UserID Version LogType Message Token ");
  EXPECT_EQ(values["Message"], R"(user \"ann\")");
}

TEST(ServerLog, ConfigurationIsAppliedOnlyWhenCompleteAndTrimmed) {
  FakeBackend backend;
  backend.serve_this_process();
  for (const auto& [status, body] : {std::pair<int, const char*>{404, R"({"code":"success"})"},
                                     {200, "<html>maintenance</html>"},
                                     {200, R"({"code":"success","support_email":7})"}}) {
    backend.answer_ssc(status, body);
    EXPECT_TRUE(ServerLog::GetSSC().empty()) << body;
  }
  const std::string email = ServerLog::setting("support_email");
  const std::string wechat = ServerLog::setting("support_wechat");
  ServerLog::ApplySSC({{"support_email", "x@y.z"}});
  ServerLog::ApplySSC({{"code", "fail"}, {"support_email", "x@y.z"}});
  EXPECT_EQ(ServerLog::setting("support_email"), email);
  flush_logs();
  EXPECT_TRUE(read_logs(QString::fromStdString(get_applogs_dir()))
                  .contains("] ServerLog::ApplySSC, ssc get failed with error:\n"));

  ServerLog::ApplySSC({{"code", "success"}, {"support_email", "  help desk@kovadle.example  "}});
  EXPECT_EQ(ServerLog::setting("support_email"), "help desk@kovadle.example");
  EXPECT_EQ(ServerLog::setting("support_wechat"), wechat);
  ServerLog::ApplySSC({{"code", "success"}, {"support_email", email}});
}

TEST(ServerLog, StartUpSequenceHonoursExpiryThenReportsACrashOnce) {
  FakeBackend backend;
  backend.serve_this_process();
  std::atomic<int> notices{0};
  ServerLog::set_version_expired_notice([&] {
    if (notices++ == 0) {
      EXPECT_TRUE(backend.requests_to("p_app_start").empty()) << "expiry comes first";
    }
  });
  backend.answer_ssc(200, R"({"code":"success","expired_versions":"1.0.0,1.1.6"})");
  QFile marker(QString::fromStdString(get_dump_log_path()));
  ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  marker.close();
  ServerLog::background_operation_new_thread().waitForFinished();
  ServerLog::background_operation_new_thread().waitForFinished();
  EXPECT_EQ(notices, 2);
  EXPECT_EQ(backend.requests_to("p_app_start").size(), 2u);
  const auto entries = backend.requests_to("p_app_logs");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_NE(entries[0].body.find(R"("Message": "App crashed in previous start.")"), std::string::npos);
  EXPECT_FALSE(marker.exists());

  // Items are compared as they are: a blank after the comma keeps 1.1.6 from matching.
  for (const auto& [list, expected] :
       {std::pair<const char*, int>{"1.0.0, 1.1.6", 2}, {" 1.1.6 ", 3}, {"1.1.60", 3}}) {
    ServerLog::check_version_expire({{"expired_versions", list}});
    EXPECT_EQ(notices, expected) << list;
  }
  ServerLog::set_version_expired_notice(nullptr);
}
