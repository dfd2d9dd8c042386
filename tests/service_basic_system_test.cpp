// The BasicSystem exports of the clock, the recording servers and the
// maintenance operations: their requests and copy rules against the scripted
// fake device, and a user's session against the simulator.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

RecordingServerRecord Server(const char *alias, const char *address, bool enable = true) {
  RecordingServerRecord server{};
  server.enable = enable;
  std::snprintf(server.alias, sizeof server.alias, "%s", alias);
  server.type = 2;
  std::snprintf(server.serverAddress, sizeof server.serverAddress, "%s", address);
  std::snprintf(server.userID, sizeof server.userID, "rec");
  std::snprintf(server.password, sizeof server.password, "secret");
  std::snprintf(server.folder, sizeof server.folder, "/video");
  server.capacity = 750;
  server.overwrite = true;
  return server;
}

class Wire : public ServiceWire {
 protected:
  CallResult result = Pattern<CallResult>();
};

// What the library hands over: a list of separately duplicated dates and a
// log buffer of any length, released as the header says (AddressSanitizer
// checks the releases).  The golden exchanges hold the copy rules.
TEST_F(Wire, HandedOverTextsAndTheirRelease) {
  LoggedDateListRecord dates{-5, nullptr, -1};
  AnswerFrom("GetLoggedDateList", "dates with a nil one");
  ASSERT_EQ(0, Call(DLL_WebServiceGetLoggedDateList, &kAnyRequest, &dates));
  ASSERT_EQ(3, dates.count);
  EXPECT_EQ(nullptr, dates.items[1]);
  for (int i = 0; i < dates.count; ++i) std::free(dates.items[i]);
  WebService_FreeItems(dates.items);

  // A log longer than any fixed field arrives whole.
  const std::string log(120000, 'L');
  LogTextRecord logText{nullptr, -1};
  TextRequest date("2026-12-01");
  device.Script({Reply::Ok(WithText(GoldenAnswer("GetLogs"), "GetLogsResult", log))});
  ASSERT_EQ(0, Call(DLL_WebServiceGetLogs, date.get(), &logText));
  ASSERT_NE(nullptr, logText.text);
  EXPECT_EQ(log, logText.text);
  WebService_FreeItems(logText.text);

  // The report is cut to its field.
  auto report = std::make_unique<ReportRecord>();
  device.Script({Reply::Ok(WithText(GoldenAnswer("GetReports"), "GetReportsResult", std::string(150000, 'R')))});
  ASSERT_EQ(0, Call(DLL_WebServiceGetReports, &kAnyRequest, report.get()));
  EXPECT_EQ(std::string(99999, 'R'), report->report);
}

// The clock's reserved field, which no description names, is never written.
TEST_F(Wire, ReservedIsNeverWritten) {
  DateTimeConfigRecord clock = Pattern<DateTimeConfigRecord>();
  AnswerFrom("GetDateTimeConfig", "only what the answer carries");
  ASSERT_EQ(0, Call(DLL_WebServiceGetDateTimeConfig, &kAnyRequest, &clock));
  EXPECT_EQ(WS_DATETIME_MODE_PC, clock.dateTimeMode);
  EXPECT_EQ(Pattern<DateTimeConfigRecord>().reserved, clock.reserved);
}

// ---- against the simulator ----

class Sim : public ServiceSim {
 protected:
  Sim() : ServiceSim({"--reboot-seconds", "1"}) {}
  std::string TimeZone() {
    TimeZoneRecord zone{};
    EXPECT_EQ(0, Call(DLL_WebServiceGetTimeZone, &kAnyRequest, &zone));
    return zone.timeZone;
  }

  CallResult result{};
};

// The clock runs on from the time set; zones come from the device's list.
TEST_F(Sim, ClockAndTimeZone) {
  DateTimeConfigRequestRecord set{};
  set.config = {WS_DATETIME_MODE_MANUAL, "ntp.example", WS_NTP_INTERVAL_ONE_HOUR, 2024, 2, 29, 23, 59, 59, 0, 0};
  ASSERT_EQ(0, Call(DLL_WebServiceSetDateTimeConfig, &set, &result));
  ASSERT_TRUE(result.result);
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  DateTimeConfigRecord clock{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetDateTimeConfig, &kAnyRequest, &clock));
  EXPECT_EQ(3, clock.month);
  EXPECT_EQ(1, clock.day);
  EXPECT_EQ(0, clock.hour);
  EXPECT_STREQ("ntp.example", clock.serverAddress);
  set.config.day = 30;  // no such date
  ASSERT_EQ(0, Call(DLL_WebServiceSetDateTimeConfig, &set, &result));
  EXPECT_FALSE(result.result);

  TimeZoneListRecord zones{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetTimeZoneList, &kAnyRequest, &zones));
  ASSERT_GT(zones.count, 1);
  ASSERT_EQ(0, Call(DLL_WebServiceSetTimeZone, TextRequest(zones.items[1]).get(), &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ(zones.items[1], TimeZone());
  WebService_FreeItems(zones.items);
  ASSERT_EQ(0, Call(DLL_WebServiceSetTimeZone, TextRequest("Mars/Olympus").get(), &result));
  EXPECT_FALSE(result.result);
  EXPECT_NE(0, result.resultCode);

  ASSERT_EQ(0, Call(DLL_WebServiceTestNTPServer, "ntp.example", &result));
  EXPECT_TRUE(result.result);
  ASSERT_EQ(0, Call(DLL_WebServiceTestNTPServer, "192.0.2.1", &result));
  EXPECT_FALSE(result.result);
}

TEST_F(Sim, RecordingServersByUniqueAlias) {
  RecordingServerRecord nas = Server("nas2", "10.0.0.2");
  ASSERT_EQ(0, Call(DLL_WebServiceAddRecordingServer, &nas, &result));
  EXPECT_TRUE(result.result);
  ASSERT_EQ(0, Call(DLL_WebServiceAddRecordingServer, &nas, &result));
  EXPECT_FALSE(result.result);  // the alias is taken
  ASSERT_EQ(0, Call(DLL_WebServiceTestRecordingServer, &nas, &result));
  EXPECT_TRUE(result.result);

  // A rename moves the entry; it may not take another server's alias.
  RecordingServerUpdateRecord update{"nas2", Server("nas3", "10.0.0.3")};
  ASSERT_EQ(0, Call(DLL_WebServiceUpdateRecordingServer, &update, &result));
  EXPECT_TRUE(result.result);
  update = {"nas3", Server("nas1", "10.0.0.3")};
  ASSERT_EQ(0, Call(DLL_WebServiceUpdateRecordingServer, &update, &result));
  EXPECT_FALSE(result.result);
  RecordingServerReplyRecord reply{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingServer, TextRequest("nas3").get(), &reply));
  EXPECT_EQ(0, reply.resultCode);
  EXPECT_STREQ("10.0.0.3", reply.server.serverAddress);
  EXPECT_EQ(750, reply.server.capacity);
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingServer, TextRequest("nas2").get(), &reply));
  EXPECT_NE(0, reply.resultCode);

  ASSERT_EQ(0, Call(DLL_WebServiceRemoveRecordingServer, "nas3", &result));
  EXPECT_TRUE(result.result);
  RecordingServerListRecord list{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingServerList, &kAnyRequest, &list));
  ASSERT_EQ(1, list.count);
  EXPECT_STREQ("nas1", list.items[0].alias);
  WebService_FreeItems(list.items);
}

// A user's session: read the backup file name, change a setting, restore and
// see the setting back; upgrade; reboot and see the device answer again after
// the pause; the logs hold what happened.
TEST_F(Sim, BackupRestoreRebootAndLogs) {
  BackupFilenameRecord backup{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetBackupFilename, &kAnyRequest, &backup));
  ASSERT_NE('\0', backup.filename[0]);
  ASSERT_EQ(0, Call(DLL_WebServiceSetTimeZone, TextRequest("Asia/Seoul").get(), &result));
  ASSERT_EQ("Asia/Seoul", TimeZone());
  ASSERT_EQ(0, Call(DLL_WebServiceRestore, TextRequest(backup.filename).get(), &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ("UTC", TimeZone());
  ASSERT_EQ(0, Call(DLL_WebServiceRestore, TextRequest("unknown.bak").get(), &result));
  EXPECT_FALSE(result.result);

  ASSERT_EQ(0, Call(DLL_WebServiceSetTimeZone, TextRequest("Asia/Tokyo").get(), &result));
  ASSERT_EQ(0, Call(DLL_WebServiceInitFactory, &kAnyRequest, &result));
  EXPECT_TRUE(result.result);
  EXPECT_EQ("UTC", TimeZone());

  ASSERT_EQ(0, Call(DLL_WebServiceUpgradeFirmware, TextRequest("/tmp/fw-3.1.4.bin").get(), &result));
  EXPECT_TRUE(result.result);
  VersionRecord version{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetVersion, &kAnyRequest, &version));
  EXPECT_STREQ("3.1.4", version.fwVersion);

  IntValueRecord channels{};
  EXPECT_EQ(-1, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &channels, "wrong"));  // a refused login
  ASSERT_EQ(0, DLL_WebServiceReboot("127.0.0.1", "admin", "admin", &kAnyRequest, &conn));
  Stopwatch watch;
  EXPECT_NE(0, Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &channels));
  int status = -1;
  while (watch.Seconds() < 5 && (status = Call(DLL_WebServiceGetMaxChannel, &kAnyRequest, &channels)) != 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(0, status);
  EXPECT_GE(watch.Seconds(), 0.7);
  EXPECT_EQ("UTC", TimeZone());  // the state outlives the reboot

  LoggedDateListRecord dates{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetLoggedDateList, &kAnyRequest, &dates));
  ASSERT_EQ(1, dates.count);
  LogTextRecord log{nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetLogs, TextRequest(dates.items[0]).get(), &log));
  ASSERT_NE(nullptr, log.text);
  const std::string text = log.text;
  for (const char *event : {"settings changed (SetTimeZone)", "settings changed (Restore)",
                            "settings changed (InitFactory)", "login refused", "reboot"})
    EXPECT_NE(std::string::npos, text.find(event)) << event << " not in " << text;
  WebService_FreeItems(log.text);
  std::free(dates.items[0]);
  WebService_FreeItems(dates.items);

  auto report = std::make_unique<ReportRecord>();
  ASSERT_EQ(0, Call(DLL_WebServiceGetReports, &kAnyRequest, report.get()));
  EXPECT_NE(nullptr, std::strstr(report->report, "firmware 3.1.4"));
}

}  // namespace
