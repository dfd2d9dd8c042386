// The simulated device's EventSchedule settings.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "sim/event_schedule_storage_state.h"
#include "soapStub.h"

namespace sim {

struct CalendarDate {
  int year = 0, month = 0, day = 0;
};

struct TimeOfDay {
  int hour = 0, minute = 0, second = 0;
};

// A recording schedule as the device keeps it.
struct RecordingSchedule {
  int id = 0;
  int repeatOption = 0;
  int preAlarm = 0, postAlarm = 0;
  CalendarDate start, finish, custom;
  std::vector<int> timeTable;  // 336 entries when weekly, else 48
};

// A schedule attached to one stream of a channel.
struct ScheduleAllocation {
  int channel = 0;
  bool master = false;
  int scheduleID = 0;
};

struct EventNotifyTarget {
  int type = 0;
  std::string id;
};

// How the device reacts to one event source.
struct EventSchedule {
  std::string eventSource;
  int channel = 0;  // the source's channel; a Set does not change it
  bool master = true;
  int ignoreInterval = 0, preAlarm = 0, postAlarm = 0;
  std::vector<EventNotifyTarget> notifies;
  std::vector<int> weeks;  // week days, 0 Sunday .. 6 Saturday
  TimeOfDay start, finish;
};

struct Sensor {
  int channel = 0;
  bool enable = false;
  bool type = false;  // the device's meaning: normally open (false) or closed
  std::string name;
};

struct Relay {
  int channel = 0;
  int controlDuration = 0;  // seconds a run lasts; 0 runs until stopped
  bool type = false;
  std::string name;
  // A run in progress: until runUntil, or until stopped when runEndless.
  bool running = false;
  bool runEndless = false;
  std::chrono::steady_clock::time_point runUntil;
};

// A video-analysis event a client injected.
struct VAEvent {
  int channel = 0;
  int eventType = 0;
  CalendarDate date;
  TimeOfDay time;
};

// Copyable: a configuration snapshot copies it whole.  The constructor seeds
// one sensor, one relay and two event sources (the sensor and the video
// analysis) per channel, each source with an event schedule of its own.
struct EventScheduleState {
  EventScheduleState();

  std::vector<RecordingSchedule> recordingSchedules;
  std::vector<ScheduleAllocation> allocations;
  std::vector<EventSchedule> eventSchedules;  // one per event source, in source order
  std::vector<Sensor> sensors;
  std::vector<Relay> relays;
  std::vector<VAEvent> vaEvents;  // the latest ones, oldest first
  EventScheduleStorageState storage;  // servers, notifications, manual recording, SD card
};

}  // namespace sim
