// The EventSchedule service's servers, device notifications, manual
// recording and SD card: the wire rules against the scripted fake device,
// the long time-outs, and every export end to end against the simulator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

void FreeNames(SDFileListRecord &list) {
  for (int32_t i = 0; i < list.count; ++i) std::free(list.names[i]);
  WebService_FreeItems(list.names);
}

using StorageWire = ServiceWire;

// What the golden exchanges cannot show: the SMTP list's field that no
// description names stays, RemoveSMTPServer writes its one byte alone, each
// file name is its own copy (AddressSanitizer checks the release) and the
// query's spare int32 is never read.
TEST_F(StorageWire, UndescribedFieldsOneByteAnswersAndHandedOverNames) {
  SMTPServerListRecord smtp = Pattern<SMTPServerListRecord>();
  AnswerFrom("GetSMTPServerList");
  ASSERT_EQ(0, Call(DLL_WebServiceGetSMTPServerList, &kAnyRequest, &smtp));
  EXPECT_EQ(Pattern<SMTPServerListRecord>().spare, smtp.spare);
  ASSERT_EQ(1, smtp.count);
  WebService_FreeItems(smtp.items);

  unsigned char answer[8];
  std::memset(answer, 0xA5, sizeof answer);
  AliasRecord alias = Pattern<AliasRecord>();
  std::strcpy(alias.alias, "m");
  AnswerFrom("RemoveSMTPServer", "true with a refusal code");
  ASSERT_EQ(0, Call(DLL_WebServiceRemoveSMTPServer, &alias, reinterpret_cast<bool *>(answer)));
  EXPECT_EQ(1, answer[0]);
  for (size_t i = 1; i < sizeof answer; ++i) EXPECT_EQ(0xA5, answer[i]) << i;

  SDFileQueryRecord query{2026, 12, 7, 8, 30, 0, 0, 2026, 12, 7, 9, 45, 59};
  std::string requests[2];
  for (int32_t spare : {0, 123456}) {
    query.spare = spare;
    SDFileListRecord list{-1, Sentinel<char *>(), -1};
    AnswerFrom("GetSDRecordingFiles", "two names");
    ASSERT_EQ(0, Call(DLL_WebServiceGetSDRecordingFiles, &query, &list));
    requests[spare ? 1 : 0] = device.Request();
    ASSERT_EQ(2, list.count);
    FreeNames(list);  // each name with free, then the array
  }
  EXPECT_EQ(requests[0], requests[1]);
}

// ---- end to end against the simulator ----

class StorageSim : public ServiceSim {
 protected:
  StorageSim() : ServiceSim({}, true) {}
  // The names the card lists for the range, in order.
  std::vector<std::string> Files(const SDFileQueryRecord &query) {
    SDFileListRecord list{0, nullptr, -1};
    EXPECT_EQ(0, Call(DLL_WebServiceGetSDRecordingFiles, &query, &list));
    EXPECT_EQ(0, list.resultCode);
    std::vector<std::string> names(list.names, list.names + list.count);
    FreeNames(list);
    return names;
  }
};

// A query for the UTC range [from, to].
SDFileQueryRecord Range(std::time_t from, std::time_t to) {
  std::tm a{}, b{};
  gmtime_r(&from, &a);
  gmtime_r(&to, &b);
  return {a.tm_year + 1900, a.tm_mon + 1, a.tm_mday, a.tm_hour, a.tm_min, a.tm_sec, 0,
          b.tm_year + 1900, b.tm_mon + 1, b.tm_mday, b.tm_hour, b.tm_min, b.tm_sec};
}

TEST_F(StorageSim, ServersUnderUniqueAliasesTestedOnLoopbackOnly) {
  FTPServerRequestRecord ftp{};
  std::strcpy(ftp.server.alias, "up");
  std::strcpy(ftp.server.serverAddress, "127.0.0.1");
  ftp.server.port = sim.port();  // something listens there: the simulator
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddFTPServer, &ftp));
  EXPECT_EQ(351, Verdict(DLL_WebServiceAddFTPServer, &ftp));
  EXPECT_EQ(0, Verdict(DLL_WebServiceTestFTPServer, &ftp.server));
  RefusingPort closed;
  FTPServerRecord silent = ftp.server;
  silent.port = closed.port();
  EXPECT_EQ(355, Verdict(DLL_WebServiceTestFTPServer, &silent));
  std::strcpy(silent.serverAddress, "192.0.2.1");
  EXPECT_EQ(354, Verdict(DLL_WebServiceTestFTPServer, &silent));

  FTPServerUpdateRecord update{};
  std::strcpy(update.prevAlias, "up");
  update.server = ftp.server;
  std::strcpy(update.server.alias, "clips");
  std::strcpy(update.server.folder, "/in");
  EXPECT_EQ(0, Verdict(DLL_WebServiceUpdateFTPServer, &update));
  EXPECT_EQ(350, Verdict(DLL_WebServiceUpdateFTPServer, &update));  // "up" is gone
  FTPServerListRecord ftps{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetFTPServerList, &kAnyRequest, &ftps));
  ASSERT_EQ(1, ftps.count);
  EXPECT_STREQ("clips", ftps.items[0].alias);
  WebService_FreeItems(ftps.items);
  AliasRecord clips{};
  std::strcpy(clips.alias, "clips");
  FTPServerResponseRecord one{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetFTPServer, &clips, &one));
  EXPECT_STREQ("/in", one.server.folder);
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveFTPServer, &clips));
  EXPECT_EQ(350, Verdict(DLL_WebServiceRemoveFTPServer, &clips));

  // SMTP: the device's mail server cannot go until another is named.
  auto smtp = std::make_unique<SMTPServerRequestRecord>();
  std::strcpy(smtp->server.alias, "mail");
  std::strcpy(smtp->server.serverAddress, "127.0.0.1");
  smtp->server.port = sim.port();
  std::strcpy(smtp->server.message, "fan stopped");
  smtp->server.enableSSL = true;
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddSMTPServer, &*smtp));
  EXPECT_EQ(0, Verdict(DLL_WebServiceTestSMTPServer, &*smtp));
  AliasRecord mail{};
  std::strcpy(mail.alias, "mail");
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetSMTPNotification, &mail));
  EXPECT_EQ(350, Verdict(DLL_WebServiceSetSMTPNotification, &clips));
  SMTPNotificationRecord notification{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSMTPNotification, &kAnyRequest, &notification));
  EXPECT_STREQ("mail", notification.smtpAlias);
  bool removed = true;
  ASSERT_EQ(0, Call(DLL_WebServiceRemoveSMTPServer, &mail, &removed));
  EXPECT_FALSE(removed);  // in use

  auto update2 = std::make_unique<SMTPServerUpdateRecord>();
  std::strcpy(update2->prevAlias, "mail");
  update2->server = smtp->server;
  std::strcpy(update2->server.alias, "mail2");
  EXPECT_EQ(0, Verdict(DLL_WebServiceUpdateSMTPServer, &*update2));
  ASSERT_EQ(0, Call(DLL_WebServiceGetSMTPNotification, &kAnyRequest, &notification));
  EXPECT_STREQ("mail2", notification.smtpAlias);  // the setting followed the rename
  auto read = std::make_unique<SMTPServerResponseRecord>();
  std::strcpy(mail.alias, "mail2");
  ASSERT_EQ(0, Call(DLL_WebServiceGetSMTPServer, &mail, read.get()));
  EXPECT_STREQ("fan stopped", read->server.message);
  EXPECT_TRUE(read->server.enableSSL);
  SMTPServerListRecord smtps{0, nullptr, 77, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSMTPServerList, &kAnyRequest, &smtps));
  EXPECT_EQ(1, smtps.count);
  EXPECT_EQ(77, smtps.spare);
  WebService_FreeItems(smtps.items);
  AliasRecord none{};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetSMTPNotification, &none));
  ASSERT_EQ(0, Call(DLL_WebServiceRemoveSMTPServer, &mail, &removed));
  EXPECT_TRUE(removed);
}

TEST_F(StorageSim, NotificationsAndThresholdsKeepWhatSetGives) {
  EventNotifyRecord targets[2] = {{WS_EVENT_NOTIFY_SMTP, "mail"}, {WS_EVENT_NOTIFY_RELAY, "1"}};
  EventNotifyRequestRecord set{{}, 2, targets};
  FanFailCallResult fanVerdict{-1, false};
  ASSERT_EQ(0, Call(DLL_WebServiceSetFanFailNotification, &set, &fanVerdict));
  EXPECT_EQ(0, fanVerdict.resultCode);
  EXPECT_TRUE(fanVerdict.result);
  FanFailNotificationRecord fan{-1, 0, nullptr};
  ASSERT_EQ(0, Call(DLL_WebServiceGetFanFailNotification, &kAnyRequest, &fan));
  ASSERT_EQ(2, fan.count);
  EXPECT_STREQ("mail", fan.items[0].id);
  EXPECT_EQ(WS_EVENT_NOTIFY_RELAY, fan.items[1].type);
  WebService_FreeItems(fan.items);

  set.count = 1;
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetRecordingServerDiskFullNotification, &set));
  targets[0].type = 17;
  EXPECT_EQ(5, Verdict(DLL_WebServiceSetRecordingServerDiskFullNotification, &set));
  EventNotifyListRecord disk{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingServerDiskFullNotification, &kAnyRequest, &disk));
  ASSERT_EQ(1, disk.count);
  EXPECT_EQ(WS_EVENT_NOTIFY_SMTP, disk.items[0].type);  // the refused Set changed nothing
  WebService_FreeItems(disk.items);

  TemperatureThresholdRecord heater{{}, WS_TEMPERATURE_DEVICE_HEATER, -10};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetTemperatureThreshold, &heater));
  heater.temperature = 500;
  EXPECT_EQ(5, Verdict(DLL_WebServiceSetTemperatureThreshold, &heater));
  IntValueRecord value{};
  TemperatureDeviceRecord which{{}, WS_TEMPERATURE_DEVICE_HEATER};
  ASSERT_EQ(0, Call(DLL_WebServiceGetTemperatureThreshold, &which, &value));
  EXPECT_EQ(-10, value.value);
  which.device = WS_TEMPERATURE_DEVICE_FAN;
  ASSERT_EQ(0, Call(DLL_WebServiceGetTemperatureThreshold, &which, &value));
  EXPECT_EQ(50, value.value);
}

TEST_F(StorageSim, CardScheduleSettingsAndCommands) {
  int32_t timetable[3] = {1, 0, 2};
  SDRecordingRecord schedule{1, 3, timetable, 2, false, true, "127.0.0.9"};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetSDRecordingSchedule, &schedule));
  SDRecordingResponseRecord read{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSDRecordingSchedule, &kAnyRequest, &read));
  EXPECT_EQ(2, read.schedule.channel);
  EXPECT_TRUE(read.schedule.networkFailureRecording);
  EXPECT_STREQ("127.0.0.9", read.schedule.recordingServerIP);
  ASSERT_EQ(3, read.schedule.timetableCount);
  EXPECT_EQ(2, read.schedule.timetable[2]);
  WebService_FreeItems(read.schedule.timetable);

  SDConfigRecord config{false, true, "nobody"};
  EXPECT_EQ(350, Verdict(DLL_WebServiceSetSDConfig, &config));  // no such SMTP server
  config.diskFullNotificationSMTPServerID[0] = '\0';
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetSDConfig, &config));
  SDConfigResponseRecord settings{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSDConfig, &kAnyRequest, &settings));
  EXPECT_FALSE(settings.config.overwrite);
  EXPECT_TRUE(settings.config.diskFullNotification);

  const int32_t unmount = 2, mount = 1, unknown = 9;
  EXPECT_EQ(0, Verdict(DLL_WebServiceCommandSD, &unmount));
  SDInfoResponseRecord info{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSDInfo, &kAnyRequest, &info));
  EXPECT_EQ(1, info.info.status);
  EXPECT_EQ(info.info.totalSpace, info.info.freeSpace);
  ManualRecordingRecord start{1, 25, WS_VIDEO_QUALITY_FULL, WS_RESOLUTION_FULL_D1, true};
  EXPECT_EQ(356, Verdict(DLL_WebServiceStartManualRecording, &start));
  EXPECT_EQ(357, Verdict(DLL_WebServiceCommandSD, &unknown));
  EXPECT_EQ(0, Verdict(DLL_WebServiceCommandSD, &mount));
  ASSERT_EQ(0, Call(DLL_WebServiceGetSDInfo, &kAnyRequest, &info));
  EXPECT_EQ(0, info.info.status);
  EXPECT_STREQ("SD-0001", info.info.diskID);
  EXPECT_EQ(361, Verdict(DLL_WebServiceGetSDRecordingFile, "none.avi"));
}

TEST_F(StorageSim, ManualRecordingLandsOnTheCardUntilRemovedOrFormatted) {
  const std::time_t before = std::time(nullptr);
  ManualRecordingRecord start{2, 25, WS_VIDEO_QUALITY_HIGH, WS_RESOLUTION_FULL_D1, true};
  EXPECT_EQ(0, Verdict(DLL_WebServiceStartManualRecording, &start));
  EXPECT_EQ(359, Verdict(DLL_WebServiceStartManualRecording, &start));
  ManualRecordingStopRecord stop{2, true};
  EXPECT_EQ(0, Verdict(DLL_WebServiceStopManualRecording, &stop));
  EXPECT_EQ(360, Verdict(DLL_WebServiceStopManualRecording, &stop));
  const std::time_t after = std::time(nullptr);

  const std::vector<std::string> found = Files(Range(before, after));
  ASSERT_EQ(1u, found.size());
  EXPECT_EQ(0u, found[0].find("ch2_master_")) << found[0];
  EXPECT_TRUE(Files(Range(before - 7200, before - 3600)).empty());
  EXPECT_EQ(0, Verdict(DLL_WebServiceGetSDRecordingFile, found[0].c_str()));
  std::ifstream logged(log);
  const std::string verbose((std::istreambuf_iterator<char>(logged)), std::istreambuf_iterator<char>());
  EXPECT_NE(std::string::npos, verbose.find("SD card: saved " + found[0])) << verbose;
  SDInfoResponseRecord info{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSDInfo, &kAnyRequest, &info));
  EXPECT_LT(info.info.freeSpace, info.info.totalSpace);
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveSDRecordingFile, found[0].c_str()));
  EXPECT_EQ(361, Verdict(DLL_WebServiceRemoveSDRecordingFile, found[0].c_str()));
  EXPECT_TRUE(Files(Range(before, after)).empty());

  // Record again and format: the card lists nothing.
  EXPECT_EQ(0, Verdict(DLL_WebServiceStartManualRecording, &start));
  EXPECT_EQ(0, Verdict(DLL_WebServiceStopManualRecording, &stop));
  EXPECT_EQ(1u, Files(Range(before, std::time(nullptr))).size());
  const int32_t format = 0;
  EXPECT_EQ(0, Verdict(DLL_WebServiceCommandSD, &format));
  EXPECT_TRUE(Files(Range(before, std::time(nullptr))).empty());
  SDFileQueryRecord backwards = Range(after, before - 60);
  SDFileListRecord list{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSDRecordingFiles, &backwards, &list));
  EXPECT_EQ(362, list.resultCode);
}

}  // namespace
