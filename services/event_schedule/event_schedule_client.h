// Client of the EventSchedule service: one conversion method per export.
// The conversions live in two files: event_schedule_client.cpp (schedules,
// events, sensors, relays, and every export's definition) and
// event_schedule_storage_client.cpp (servers, notifications, SD card).
#pragma once

#include "core/service_client.h"
#include "event_schedule_operations.h"
#include "soapEventScheduleSoap12Proxy.h"

namespace ws {

class EventScheduleClient : public ServiceClient<EventScheduleSoap12Proxy> {
 public:
  using Proxy = EventScheduleSoap12Proxy;
  WS_EVENT_SCHEDULE_OPERATIONS(WS_DECLARE_CONVERSION)

};

}  // namespace ws
