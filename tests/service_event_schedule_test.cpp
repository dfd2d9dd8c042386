// The EventSchedule service's schedules, event sources, sensors and relays:
// the wire rules against the scripted fake device, and every export end to
// end against the simulator.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

std::string Date(const char *element, int year, int month, int day) {
  return std::string("<") + element + "><year>" + std::to_string(year) + "</year><month>" + std::to_string(month) +
         "</month><day>" + std::to_string(day) + "</day></" + element + ">";
}

std::string Schedule(int id, const char *repeat, const std::string &entries) {
  return "<scheduleID>" + std::to_string(id) + "</scheduleID><repeatOption>" + repeat + "</repeatOption>" +
         Date("startTime", 2024, 1, 2) + Date("finishTime", 2025, 3, 4) + Date("customDate", 2024, 6, 7) +
         "<timeTable>" + entries + "</timeTable><preAlarm>5</preAlarm><postAlarm>6</postAlarm>";
}

std::string EventScheduleXml(const std::string &notifies, const std::string &weeks) {
  return "<eventSource>Sensor2</eventSource><eventNotify>" + notifies + "</eventNotify><timeTable><weeks>" + weeks +
         "</weeks><startTime><hour>8</hour><minute>30</minute><second>0</second></startTime>"
         "<finishTime><hour>17</hour><minute>0</minute><second>5</second></finishTime></timeTable>"
         "<ignoreInterval>10</ignoreInterval><preAlarm>2</preAlarm><postAlarm>3</postAlarm><channel>2</channel>"
         "<master>true</master><UseSubConfig>false</UseSubConfig>";
}

using EventWire = ServiceWire;

TEST_F(EventWire, RecordingScheduleListRule) {
  const std::string two = "<GetRecordingScheduleListResult><RecordingSchedule_T>" +
                          Schedule(3, "SCHEDULE_REPEAT_WEEKLY", "<int>1</int><int>2</int><int>3</int>") +
                          "</RecordingSchedule_T><RecordingSchedule_T>" + Schedule(4, "2", "<int>9</int>") +
                          "</RecordingSchedule_T></GetRecordingScheduleListResult>";
  RecordingScheduleListRecord list{-1, Sentinel<RecordingScheduleRecord>(), -1};
  Answer("GetRecordingScheduleList", two + "<resultCode>0</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingScheduleList, &kAnyRequest, &list));
  ASSERT_EQ(2, list.count);
  const RecordingScheduleRecord &first = list.items[0];
  EXPECT_EQ(3, first.scheduleID);
  EXPECT_EQ(WS_SCHEDULE_REPEAT_WEEKLY, first.repeatOption);
  EXPECT_EQ(5, first.preAlarm);
  EXPECT_EQ(6, first.postAlarm);
  EXPECT_EQ(2024, first.startYear);
  EXPECT_EQ(4, first.finishDay);
  EXPECT_EQ(6, first.customMonth);
  EXPECT_EQ(3, first.timeTable[2]);
  EXPECT_EQ(0, first.timeTable[3]);  // the new array is zero-filled
  EXPECT_EQ(WS_SCHEDULE_REPEAT_CUSTOM_NONE, list.items[1].repeatOption);
  EXPECT_EQ(9, list.items[1].timeTable[0]);
  WebService_FreeItems(list.items);

  // No schedule: count becomes 0, items stays; a refusal or a missing list
  // writes resultCode alone.
  list = {-1, Sentinel<RecordingScheduleRecord>(), -1};
  Answer("GetRecordingScheduleList", "<GetRecordingScheduleListResult/><resultCode>0</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingScheduleList, &kAnyRequest, &list));
  EXPECT_EQ(0, list.count);
  EXPECT_EQ(Sentinel<RecordingScheduleRecord>(), list.items);
  list = {-1, Sentinel<RecordingScheduleRecord>(), -1};
  Answer("GetAllocatedRecordingScheduleByChannel", two + "<resultCode>7</resultCode>");
  ChannelRecord channel{{}, 1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetAllocatedRecordingScheduleByChannel, &channel, &list));
  EXPECT_EQ(7, list.resultCode);
  EXPECT_EQ(-1, list.count);
  EXPECT_EQ(Sentinel<RecordingScheduleRecord>(), list.items);
  Answer("GetAllocatedRecordingScheduleByStream", "<resultCode>0</resultCode>");
  StreamRecord stream{{}, 1, true};
  ASSERT_EQ(0, Call(DLL_WebServiceGetAllocatedRecordingScheduleByStream, &stream, &list));
  EXPECT_EQ(0, list.resultCode);
  EXPECT_EQ(-1, list.count);
  EXPECT_NE(std::string::npos, device.Request().find("<ns1:channel>1</ns1:channel><ns1:master>true</ns1:master>"));

  // One schedule is copied whatever resultCode; entries not sent stay.
  RecordingScheduleResponseRecord one = Pattern<RecordingScheduleResponseRecord>();
  Answer("GetRecordingSchedule", "<GetRecordingScheduleResult>" + Schedule(8, "SCHEDULE_REPEAT_DAILY", "<int>4</int>") +
                                     "</GetRecordingScheduleResult><resultCode>12</resultCode>");
  ScheduleIdRecord id{{}, 8};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingSchedule, &id, &one));
  EXPECT_EQ(12, one.resultCode);
  EXPECT_EQ(8, one.schedule.scheduleID);
  EXPECT_EQ(4, one.schedule.timeTable[0]);
  EXPECT_EQ(Pattern<RecordingScheduleResponseRecord>().schedule.timeTable[1], one.schedule.timeTable[1]);
}

TEST_F(EventWire, ScheduleRequestsSendTheTimeTableOfTheirRepeatOption) {
  RecordingScheduleRequestRecord request = Pattern<RecordingScheduleRequestRecord>();
  request.schedule.scheduleID = 5;
  request.schedule.startYear = 2030;
  for (int &entry : request.schedule.timeTable) entry = 1;
  CallResult result{};
  const struct {
    int32_t repeat;
    size_t entries;
    const char *symbol;
  } cases[] = {{WS_SCHEDULE_REPEAT_WEEKLY, 336, "SCHEDULE_REPEAT_WEEKLY"},
               {WS_SCHEDULE_REPEAT_DAILY, 48, "SCHEDULE_REPEAT_DAILY"},
               {WS_SCHEDULE_REPEAT_CUSTOM_YEARLY, 48, "SCHEDULE_REPEAT_CUSTOM_YEARLY"},
               {9, 48, "9"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.symbol);
    request.schedule.repeatOption = c.repeat;
    Answer("UpdateRecordingSchedule", "<UpdateRecordingScheduleResult>true</UpdateRecordingScheduleResult>");
    ASSERT_EQ(0, Call(DLL_WebServiceUpdateRecordingSchedule, &request, &result));
    const std::string sent = device.Request();
    EXPECT_EQ(c.entries, Count(sent, "<ns1:int>1</ns1:int>"));
    EXPECT_NE(std::string::npos, sent.find(std::string("<ns1:repeatOption>") + c.symbol + "</ns1:repeatOption>"));
    EXPECT_NE(std::string::npos, sent.find("<ns1:startTime><ns1:year>2030</ns1:year>"));
  }
  ScheduleAllocationRecord allocation{{}, 2, false, 5};
  Answer("DeallocateRecordingSchedule", "<DeallocateRecordingScheduleResult>1</DeallocateRecordingScheduleResult>"
                                        "<resultCode>0</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceDeallocateRecordingSchedule, &allocation, &result));
  EXPECT_TRUE(result.result);
  EXPECT_NE(std::string::npos, device.Request().find("<ns1:channel>2</ns1:channel><ns1:master>false</ns1:master>"
                                                     "<ns1:scheduleID>5</ns1:scheduleID>"));
}

TEST_F(EventWire, EventScheduleReadsAllocateNestedArrays) {
  const std::string notifies =
      "<EventNotify_T><type>EVENT_NOTIFY_SMTP</type><id>mail1</id></EventNotify_T>"
      "<EventNotify_T><type>3</type></EventNotify_T>";
  EventSourceRecord source{{}, "Sensor2"};
  EventScheduleResponseRecord one = Pattern<EventScheduleResponseRecord>();
  Answer("GetEventSchedule", "<GetEventScheduleResult>" + EventScheduleXml(notifies, "<WEEK_T>MON</WEEK_T><WEEK_T>6</WEEK_T>") +
                                 "</GetEventScheduleResult><resultCode>0</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSchedule, &source, &one));
  EXPECT_NE(std::string::npos, device.Request().find("<ns1:eventSource>Sensor2</ns1:eventSource>"));
  const EventScheduleRecord &s = one.schedule;
  EXPECT_EQ(2, s.channel);
  EXPECT_TRUE(s.master);
  EXPECT_STREQ("Sensor2", s.eventSource);
  EXPECT_EQ(10, s.ignoreInterval);
  ASSERT_EQ(2, s.notifyCount);
  EXPECT_EQ(WS_EVENT_NOTIFY_SMTP, s.notifies[0].type);
  EXPECT_STREQ("mail1", s.notifies[0].id);
  EXPECT_EQ(WS_EVENT_NOTIFY_RELAY, s.notifies[1].type);
  EXPECT_EQ(8, s.start.hour);
  EXPECT_EQ(5, s.finish.second);
  EXPECT_EQ(Pattern<EventScheduleResponseRecord>().schedule.start.extra, s.start.extra);
  ASSERT_EQ(2, s.weekCount);
  EXPECT_EQ(WS_MON, s.weeks[0]);
  EXPECT_EQ(WS_SAT, s.weeks[1]);
  WebService_FreeItems(s.notifies);
  WebService_FreeItems(s.weeks);

  // No notification and no week day: notifies stays, weeks is a new empty array.
  one.schedule.notifies = Sentinel<EventNotifyRecord>();
  one.schedule.weeks = Sentinel<int32_t>();
  Answer("GetEventSchedule", "<GetEventScheduleResult>" + EventScheduleXml("", "") +
                                 "</GetEventScheduleResult><resultCode>0</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSchedule, &source, &one));
  EXPECT_EQ(0, one.schedule.notifyCount);
  EXPECT_EQ(Sentinel<EventNotifyRecord>(), one.schedule.notifies);
  EXPECT_EQ(0, one.schedule.weekCount);
  EXPECT_NE(Sentinel<int32_t>(), one.schedule.weeks);
  EXPECT_NE(nullptr, one.schedule.weeks);
  WebService_FreeItems(one.schedule.weeks);

  // A refusal stops the copy, even with a schedule in the answer.
  one = Pattern<EventScheduleResponseRecord>();
  Answer("GetEventSchedule", "<GetEventScheduleResult>" + EventScheduleXml(notifies, "") +
                                 "</GetEventScheduleResult><resultCode>4</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSchedule, &source, &one));
  EXPECT_EQ(4, one.resultCode);
  one.resultCode = Pattern<EventScheduleResponseRecord>().resultCode;
  EXPECT_TRUE(Untouched(one));

  // In a list, an item without week days keeps weeks as allocated (NULL).
  EventScheduleListRecord list{-1, Sentinel<EventScheduleRecord>(), -1};
  Answer("GetEventScheduleList", "<GetEventScheduleListResult><EventSchedule_T>" + EventScheduleXml(notifies, "") +
                                     "</EventSchedule_T><EventSchedule_T>" + EventScheduleXml("", "<WEEK_T>SUN</WEEK_T>") +
                                     "</EventSchedule_T></GetEventScheduleListResult><resultCode>0</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventScheduleList, &kAnyRequest, &list));
  ASSERT_EQ(2, list.count);
  EXPECT_EQ(2, list.items[0].notifyCount);
  EXPECT_STREQ("mail1", list.items[0].notifies[0].id);
  EXPECT_EQ(0, list.items[0].weekCount);
  EXPECT_EQ(nullptr, list.items[0].weeks);
  EXPECT_EQ(nullptr, list.items[1].notifies);
  ASSERT_EQ(1, list.items[1].weekCount);
  EXPECT_EQ(WS_SUN, list.items[1].weeks[0]);
  for (int i = 0; i < list.count; ++i) {
    WebService_FreeItems(list.items[i].notifies);
    WebService_FreeItems(list.items[i].weeks);
  }
  WebService_FreeItems(list.items);
}

TEST_F(EventWire, SetEventScheduleSendsChannelZero) {
  EventNotifyRecord notifies[2] = {{WS_EVENT_NOTIFY_FTP, "ftp&1"}, {WS_EVENT_NOTIFY_FlashLED, ""}};
  int32_t weeks[3] = {WS_TUE, WS_FRI, 8};
  EventScheduleRequestRecord request = Pattern<EventScheduleRequestRecord>();
  EventScheduleRecord &s = request.schedule;
  s.channel = 7;
  s.master = false;
  std::strcpy(s.eventSource, "VideoAnalysis1");
  s.notifyCount = 2;
  s.notifies = notifies;
  s.weekCount = 3;
  s.weeks = weeks;
  s.start = {1, 2, 3, 0};
  s.finish = {4, 5, 6, 0};
  CallResult result = Pattern<CallResult>();
  Answer("SetEventSchedule", "<SetEventScheduleResult>false</SetEventScheduleResult><resultCode>9</resultCode>");
  ASSERT_EQ(0, Call(DLL_WebServiceSetEventSchedule, &request, &result));
  EXPECT_FALSE(result.result);
  EXPECT_EQ(9, result.resultCode);
  const std::string sent = device.Request();
  for (const char *part : {"<ns1:eventSource>VideoAnalysis1</ns1:eventSource>",
                           "<ns1:EventNotify_T><ns1:type>EVENT_NOTIFY_FTP</ns1:type><ns1:id>ftp&amp;1</ns1:id>",
                           "<ns1:type>EVENT_NOTIFY_FlashLED</ns1:type>",
                           "<ns1:weeks><ns1:WEEK_T>TUE</ns1:WEEK_T><ns1:WEEK_T>FRI</ns1:WEEK_T><ns1:WEEK_T>8</ns1:WEEK_T></ns1:weeks>",
                           "<ns1:startTime><ns1:hour>1</ns1:hour><ns1:minute>2</ns1:minute><ns1:second>3</ns1:second>",
                           "<ns1:channel>0</ns1:channel><ns1:master>false</ns1:master><ns1:UseSubConfig>false</ns1:UseSubConfig>"
                           "<ns1:FrameRate>0</ns1:FrameRate><ns1:Quality>0</ns1:Quality><ns1:Bitrate>0</ns1:Bitrate>"
                           "<ns1:Duration>0</ns1:Duration>"})
    EXPECT_NE(std::string::npos, sent.find(part)) << part;
}

// ---- end to end against the simulator ----

class EventSim : public ServiceSim {
 protected:
  EventSim() : ServiceSim({}, true) {}
  // The schedule IDs a list answer holds, in order; frees the list.
  template <class Fn, class Request>
  std::vector<int> ScheduleIds(Fn fn, const Request &request) {
    RecordingScheduleListRecord list{0, nullptr, -1};
    EXPECT_EQ(0, Call(fn, &request, &list));
    EXPECT_EQ(0, list.resultCode);
    std::vector<int> ids;
    for (int i = 0; i < list.count; ++i) ids.push_back(list.items[i].scheduleID);
    WebService_FreeItems(list.items);
    return ids;
  }
};

TEST_F(EventSim, WeeklyScheduleOnChannelOneMasterStream) {
  RecordingScheduleRequestRecord weekly{};
  weekly.schedule.scheduleID = 7;
  weekly.schedule.repeatOption = WS_SCHEDULE_REPEAT_WEEKLY;
  weekly.schedule.preAlarm = 3;
  weekly.schedule.startYear = 2026;
  for (int i = 0; i < 336; ++i) weekly.schedule.timeTable[i] = i % 2;
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddRecordingSchedule, weekly));
  EXPECT_EQ(302, Verdict(DLL_WebServiceAddRecordingSchedule, weekly));  // the ID is taken
  RecordingScheduleRequestRecord daily = weekly;
  daily.schedule.scheduleID = 8;
  daily.schedule.repeatOption = WS_SCHEDULE_REPEAT_DAILY;
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddRecordingSchedule, daily));
  daily.schedule.preAlarm = 9;
  EXPECT_EQ(0, Verdict(DLL_WebServiceUpdateRecordingSchedule, daily));
  EXPECT_EQ((std::vector<int>{7, 8}), ScheduleIds(DLL_WebServiceGetRecordingScheduleList, kAnyRequest));

  ScheduleAllocationRecord allocation{{}, 1, true, 7};
  EXPECT_EQ(0, Verdict(DLL_WebServiceAllocateRecordingSchedule, allocation));
  EXPECT_EQ(305, Verdict(DLL_WebServiceAllocateRecordingSchedule, allocation));
  EXPECT_EQ((std::vector<int>{7}), ScheduleIds(DLL_WebServiceGetAllocatedRecordingScheduleByChannel,
                                                ChannelRecord{{}, 1}));
  EXPECT_EQ((std::vector<int>{7}), ScheduleIds(DLL_WebServiceGetAllocatedRecordingScheduleByStream,
                                                StreamRecord{{}, 1, true}));
  EXPECT_TRUE(ScheduleIds(DLL_WebServiceGetAllocatedRecordingScheduleByStream, StreamRecord{{}, 1, false}).empty());
  EXPECT_TRUE(ScheduleIds(DLL_WebServiceGetAllocatedRecordingScheduleByChannel, ChannelRecord{{}, 2}).empty());

  RecordingScheduleResponseRecord read{};
  ScheduleIdRecord id{{}, 7};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRecordingSchedule, &id, &read));
  EXPECT_EQ(0, read.resultCode);
  EXPECT_EQ(2026, read.schedule.startYear);
  EXPECT_EQ(1, read.schedule.timeTable[335]);

  EXPECT_EQ(304, Verdict(DLL_WebServiceRemoveRecordingSchedule, id));  // still allocated
  EXPECT_EQ(304, Verdict(DLL_WebServiceRemoveAllRecordingSchedule, kAnyRequest));
  EXPECT_EQ(0, Verdict(DLL_WebServiceDeallocateRecordingSchedule, allocation));
  EXPECT_EQ(306, Verdict(DLL_WebServiceDeallocateRecordingSchedule, allocation));
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveRecordingSchedule, id));
  EXPECT_EQ(301, Verdict(DLL_WebServiceRemoveRecordingSchedule, id));
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveAllRecordingSchedule, kAnyRequest));
  EXPECT_TRUE(ScheduleIds(DLL_WebServiceGetRecordingScheduleList, kAnyRequest).empty());
}

TEST_F(EventSim, EventSchedulesFollowTheirSources) {
  EventSourceListRecord sources{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSourceList, &kAnyRequest, &sources));
  ASSERT_EQ(8, sources.count);
  EXPECT_STREQ("Sensor1", sources.items[0].name);
  EXPECT_STREQ("VideoAnalysis4", sources.items[7].name);
  WebService_FreeItems(sources.items);

  EventNotifyRecord notifies[1] = {{WS_EVENT_NOTIFY_PRESET, "3"}};
  int32_t weeks[2] = {WS_SAT, WS_SUN};
  EventScheduleRequestRecord set{};
  std::strcpy(set.schedule.eventSource, "VideoAnalysis3");
  set.schedule.channel = 1;  // not sent: the source keeps channel 3
  set.schedule.notifyCount = 1;
  set.schedule.notifies = notifies;
  set.schedule.weekCount = 2;
  set.schedule.weeks = weeks;
  set.schedule.start = {6, 0, 0, 0};
  set.schedule.finish = {18, 30, 0, 0};
  set.schedule.postAlarm = 4;
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetEventSchedule, set));
  set.schedule.finish.hour = 24;
  EXPECT_EQ(5, Verdict(DLL_WebServiceSetEventSchedule, set));

  EventSourceRecord source{{}, "VideoAnalysis3"};
  EventScheduleResponseRecord read{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSchedule, &source, &read));
  EXPECT_EQ(3, read.schedule.channel);
  EXPECT_EQ(4, read.schedule.postAlarm);
  EXPECT_EQ(18, read.schedule.finish.hour);
  ASSERT_EQ(1, read.schedule.notifyCount);
  EXPECT_STREQ("3", read.schedule.notifies[0].id);
  ASSERT_EQ(2, read.schedule.weekCount);
  EXPECT_EQ(WS_SUN, read.schedule.weeks[1]);
  WebService_FreeItems(read.schedule.notifies);
  WebService_FreeItems(read.schedule.weeks);
  std::strcpy(source.eventSource, "Door");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSchedule, &source, &read));
  EXPECT_EQ(307, read.resultCode);

  EventScheduleListRecord list{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventScheduleList, &kAnyRequest, &list));
  ASSERT_EQ(8, list.count);
  EXPECT_EQ(7, list.items[0].weekCount);
  for (int i = 0; i < list.count; ++i) {
    WebService_FreeItems(list.items[i].notifies);
    WebService_FreeItems(list.items[i].weeks);
  }
  WebService_FreeItems(list.items);
}

TEST_F(EventSim, SensorsRelaysAndTriggeredEvents) {
  SensorListRecord sensors{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSensorList, &kAnyRequest, &sensors));
  EXPECT_EQ(4, sensors.count);
  WebService_FreeItems(sensors.items);
  SensorRequestRecord sensor{{}, {2, false, true, "Back door"}};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetSensor, sensor));
  SensorResponseRecord readSensor{};
  ChannelRecord two{{}, 2};
  ASSERT_EQ(0, Call(DLL_WebServiceGetSensor, &two, &readSensor));
  EXPECT_STREQ("Back door", readSensor.sensor.name);
  EXPECT_FALSE(readSensor.sensor.enable);
  EXPECT_TRUE(readSensor.sensor.type);

  RelayListRecord relays{0, nullptr, -1};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRelayList, &kAnyRequest, &relays));
  EXPECT_EQ(4, relays.count);
  WebService_FreeItems(relays.items);
  RelayRequestRecord relay{{}, {2, 1, false, "Siren"}};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetRelay, relay));
  RelayResponseRecord readRelay{};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRelay, &two, &readRelay));
  EXPECT_STREQ("Siren", readRelay.relay.name);
  EXPECT_EQ(1, readRelay.relay.controlDuration);
  ChannelRecord nine{{}, 9};
  ASSERT_EQ(0, Call(DLL_WebServiceGetRelay, &nine, &readRelay));
  EXPECT_EQ(309, readRelay.resultCode);

  // A one-second run: stopped while on, then idle once its time is up.
  EXPECT_EQ(0, Verdict(DLL_WebServiceRunRelay, RelayRunRecord{{}, 2, true}));
  EXPECT_EQ(0, Verdict(DLL_WebServiceRunRelay, RelayRunRecord{{}, 2, false}));
  EXPECT_EQ(311, Verdict(DLL_WebServiceRunRelay, RelayRunRecord{{}, 2, false}));
  EXPECT_EQ(0, Verdict(DLL_WebServiceRunRelay, RelayRunRecord{{}, 2, true}));
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  EXPECT_EQ(311, Verdict(DLL_WebServiceRunRelay, RelayRunRecord{{}, 2, false}));

  VAEventTriggerRecord trigger{{}, 2, 17, 2026, 12, 7, 11, 22, 33};
  int ignored = 0;
  EXPECT_EQ(0, Call(DLL_WebServiceTriggerVAEvent, &trigger, &ignored));
  trigger.channel = 99;
  EXPECT_EQ(1, Call(DLL_WebServiceTriggerVAEvent, &trigger, &ignored));  // refused as a client fault
  std::ifstream in(log);
  const std::string logged((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(std::string::npos,
            logged.find("video-analysis event channel=2 type=17 client-time=2026-12-07T11:22:33"));
  EXPECT_NE(std::string::npos, logged.find("relay 2 on for 1 s"));
}

}  // namespace
