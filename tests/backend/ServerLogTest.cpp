#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <atomic>
#include <regex>

#include "BackendTestSupport.h"
#include "Util/AppConstants.h"
#include "Util/MachineInfo.h"
#include "Util/OSUtil.h"
#include "backend/ServerLog.h"

namespace {

// The CTime a body starts with.
std::string ctime_of(const std::string& body) {
  std::smatch found;
  return std::regex_search(body, found, std::regex(R"re(^\{"CTime": "(\d{8}_\d{6})",)re")) ? found[1].str()
                                                                                           : "";
}

}  // namespace

TEST(ServerLog, TokenAndBodiesAreExactAndEscaped) {
  const std::string salted = get_request_salt() + "20231201_093005";
  EXPECT_EQ(ServerLog::make_token("20231201_093005"),
            QCryptographicHash::hash(QByteArray::fromStdString(salted), QCryptographicHash::Md5)
                .toHex()
                .toUpper()
                .toStdString());
  EXPECT_NE(ServerLog::make_token("20231201_093006"), ServerLog::make_token("20231201_093005"));

  EXPECT_EQ(
      ServerLog::json_body({{"CTime", "20231201_093005"}, {"CPU", "Intel \"Gold\" C:\\x\n"}, {"OS", "统信"}}),
      R"({"CTime": "20231201_093005","CPU": "Intel \"Gold\" C:\\x\n","OS": "统信"})");
}

TEST(ServerLog, RequestsCarryTheirFieldsInOrderWithAMatchingToken) {
  FakeBackend backend;
  backend.serve_this_process();

  EXPECT_EQ(ServerLog::GetSSC(), (ServerLog::SSC{{"code", "success"}}));
  std::smatch query;
  const std::string target = backend.requests_to("getSSC").at(0).target;
  ASSERT_TRUE(std::regex_match(
      target, query,
      std::regex(R"(/KovadleBackend/v1/getSSC\?CTime=(\d{8}_\d{6})&Token=([0-9A-F]{32})&DeviceID=(\d+))")))
      << target;
  EXPECT_EQ(query[2].str(), ServerLog::make_token(query[1].str()));
  EXPECT_EQ(query[3].str(), get_device_id());

  ServerLog::AppStart();
  const std::string start = backend.requests_to("p_app_start").at(0).body;
  const std::string ctime = ctime_of(start);
  EXPECT_EQ(start, ServerLog::json_body({{"CTime", ctime},
                                         {"DeviceID", get_device_id()},
                                         {"UserID", "init"},
                                         {"Version", "1.1.6"},
                                         {"DistriID", "official"},
                                         {"Arch", OSUtil::getCpuArch()},
                                         {"OS", OSUtil::getOsName()},
                                         {"CPU", MachineInfo::cpu_name()},
                                         {"CPUCore", MachineInfo::cpu_core_count()},
                                         {"CPULogicCore", MachineInfo::cpu_logical_count()},
                                         {"Token", ServerLog::make_token(ctime)}}));

  ServerLog::AppLogs_new_thread("info", "user \"ann\" signed in").waitForFinished();
  const std::string entry = backend.requests_to("p_app_logs").at(0).body;
  const std::string logged = ctime_of(entry);
  EXPECT_EQ(entry, ServerLog::json_body({{"CTime", logged},
                                         {"DeviceID", get_device_id()},
                                         {"UserID", "init"},
                                         {"Version", "1.1.6"},
                                         {"LogType", "info"},
                                         {"Message", "user \"ann\" signed in"},
                                         {"Token", ServerLog::make_token(logged)}}));
}

TEST(ServerLog, ConfigurationIsAppliedOnlyWhenComplete) {
  FakeBackend backend;
  backend.serve_this_process();
  LogCapture log;
  const std::string email = ServerLog::setting("support_email");

  const std::pair<int, const char*> refused[] = {{404, R"({"code":"success"})"},
                                                 {200, "<html>maintenance</html>"},
                                                 {200, R"({"code":"success","support_email":7})"}};
  for (const auto& [status, body] : refused) {
    backend.answer_ssc(status, body);
    EXPECT_TRUE(ServerLog::GetSSC().empty()) << body;
  }
  EXPECT_EQ(
      log.starting("ServerLog::GetSSC, curl_code is not 0 or http_code is not 200, GetSSC failed!").size(),
      1u);
  EXPECT_EQ(log.starting("ServerLog::GetSSC, http response is not json format, GetSSC failed!").size(), 1u);

  ServerLog::ApplySSC({});
  ServerLog::ApplySSC({{"support_email", "x@y.z"}});
  ServerLog::ApplySSC({{"code", "fail"}, {"support_email", "x@y.z"}});
  EXPECT_EQ(log.starting("ServerLog::ApplySSC").size(), 3u);
  EXPECT_EQ(log.starting("ServerLog::ApplySSC, ssc is empty, exit ApplySSC.").size(), 1u);
  EXPECT_EQ(log.starting("ServerLog::ApplySSC, no code field in ssc, exit ApplySSC.").size(), 1u);
  EXPECT_EQ(log.lines().back(), "ServerLog::ApplySSC, ssc get failed with error:");
  EXPECT_EQ(ServerLog::setting("support_email"), email);

  const std::string wechat = ServerLog::setting("support_wechat");
  ServerLog::ApplySSC(
      {{"code", "success"}, {"support_email", "  help desk@kovadle.example  "}, {"other", "1"}});
  EXPECT_EQ(ServerLog::setting("support_email"), "help desk@kovadle.example");
  EXPECT_EQ(ServerLog::setting("support_wechat"), wechat);
  // One line per key, values only in debug builds.
  EXPECT_EQ(log.starting("ServerLog::ApplySSC, support_email:").back(),
            "ServerLog::ApplySSC, support_email:");
  EXPECT_EQ(log.starting("ServerLog::ApplySSC, wxlogin_").size(), 4u);
  ServerLog::ApplySSC({{"code", "success"}, {"support_email", email}});
}

TEST(ServerLog, StartUpSequenceHonoursExpiryAndReportsACrashOnce) {
  FakeBackend backend;
  backend.serve_this_process();
  std::atomic<int> notices{0};
  std::atomic<size_t> starts_before_notice{99};
  ServerLog::set_version_expired_notice([&] {
    starts_before_notice = backend.requests_to("p_app_start").size();
    ++notices;
  });

  backend.answer_ssc(200, R"({"code":"success","expired_versions":"1.0.0,1.1.6"})");
  QFile marker(QString::fromStdString(get_dump_log_path()));
  ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
  marker.write("*** SIGSEGV received ***");
  marker.close();
  ServerLog::background_operation_new_thread().waitForFinished();
  ServerLog::background_operation_new_thread().waitForFinished();

  EXPECT_EQ(notices, 2);
  EXPECT_EQ(starts_before_notice, 1u) << "the expiry check comes before the start-up report";
  EXPECT_EQ(backend.requests_to("p_app_start").size(), 2u);
  const auto entries = backend.requests_to("p_app_logs");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_NE(entries[0].body.find(R"("LogType": "info","Message": "App crashed in previous start.")"),
            std::string::npos);
  EXPECT_FALSE(marker.exists());

  // Items are compared as they are: a blank after the comma keeps 1.1.6 from matching.
  const std::pair<const char*, int> lists[] = {{"1.0.0, 1.1.6", 0}, {" 1.1.6 ", 1}, {"1.1.60,1.1", 0}};
  for (const auto& [list, expected] : lists) {
    notices = 0;
    ServerLog::check_version_expire({{"expired_versions", list}});
    EXPECT_EQ(notices, expected) << list;
  }
  notices = 0;
  ServerLog::check_version_expire({{"code", "success"}});
  EXPECT_EQ(notices, 0);
  ServerLog::set_version_expired_notice(nullptr);
}
