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

using EventWire = ServiceWire;

// Which arrays a schedule read allocates, which the caller must release
// (the golden exchanges hold what is copied): one read without targets keeps
// the caller's target array and gives a new empty week array; in a list, an
// item without week days gets no week array.
TEST_F(EventWire, EventScheduleReadsAllocateTheirOwnArrays) {
  EventSourceRecord source{{}, "Sensor2"};
  EventScheduleResponseRecord one = Pattern<EventScheduleResponseRecord>();
  one.schedule.notifies = Sentinel<EventNotifyRecord>();
  one.schedule.weeks = Sentinel<int32_t>();
  AnswerFrom("GetEventSchedule", "no target and no week day");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventSchedule, &source, &one));
  EXPECT_EQ(0, one.schedule.notifyCount);
  EXPECT_EQ(Sentinel<EventNotifyRecord>(), one.schedule.notifies);
  EXPECT_EQ(0, one.schedule.weekCount);
  EXPECT_NE(Sentinel<int32_t>(), one.schedule.weeks);
  EXPECT_NE(nullptr, one.schedule.weeks);
  WebService_FreeItems(one.schedule.weeks);

  EventScheduleListRecord list{-1, Sentinel<EventScheduleRecord>(), -1};
  AnswerFrom("GetEventScheduleList", "an item without week days");
  ASSERT_EQ(0, Call(DLL_WebServiceGetEventScheduleList, &kAnyRequest, &list));
  ASSERT_EQ(2, list.count);
  EXPECT_EQ(nullptr, list.items[0].weeks);
  EXPECT_EQ(nullptr, list.items[1].notifies);
  for (int i = 0; i < list.count; ++i) {
    WebService_FreeItems(list.items[i].notifies);
    WebService_FreeItems(list.items[i].weeks);
  }
  WebService_FreeItems(list.items);
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
