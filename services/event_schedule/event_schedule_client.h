// Client of the EventSchedule service: one conversion method per export.
// The conversions live in two files: event_schedule_client.cpp (schedules,
// events, sensors, relays, and every export's definition) and
// event_schedule_storage_client.cpp (servers, notifications, SD card).
#pragma once

#include <vector>

#include "core/service_client.h"
#include "event_schedule_operations.h"
#include "soapEventScheduleSoap12Proxy.h"

namespace ws {

class EventScheduleClient : public ServiceClient<EventScheduleSoap12Proxy> {
 public:
  using Proxy = EventScheduleSoap12Proxy;
  WS_EVENT_SCHEDULE_OPERATIONS(WS_DECLARE_CONVERSION)

 private:
  // Calls op and fills a list record from the items array of its result by
  // the list rule of this service (FillListCountAlways), each item by copy.
  template <class Request, class Answer, class Array, class Item, class ListRecord, class Copy>
  int GetList(int (Proxy::*op)(const char *, const char *, Request *, Answer &), const char *action,
              Request *request, Array *Answer::*result, std::vector<Item *> Array::*items, ListRecord *response,
              Copy copy) {
    Answer answer;
    if (int status = Invoke(op, action, request, answer)) return status;
    const Array *list = answer.*result;
    return FillListCountAlways(response, answer.resultCode, list ? &(list->*items) : nullptr, copy);
  }

  // Calls op, writes resultCode and, whatever its value, copies the result
  // (when the answer holds one) into target.
  template <class Request, class Answer, class Item, class Target, class Copy>
  int GetItem(int (Proxy::*op)(const char *, const char *, Request *, Answer &), const char *action,
              Request *request, Item *Answer::*result, Target &target, int32_t *resultCode, Copy copy) {
    Answer answer;
    if (int status = Invoke(op, action, request, answer)) return status;
    *resultCode = answer.resultCode;
    if (const Item *item = answer.*result) copy(target, *item);
    return 0;
  }
};

// Calls Op and fills the list record out from <Op>Result's items (the array
// member named items) with copy.
#define WS_INVOKE_FOR_LIST(Op, request, Array, items, out, copy) \
  this->GetList(&Proxy::Op, WS_ACTION(Op), request, &_ns1__##Op##Response::Op##Result, &Array::items, out, copy)

// Calls Op, stores its resultCode in out and copies <Op>Result into
// out->member with copy.
#define WS_INVOKE_FOR_ITEM(Op, request, out, member, copy)                                                    \
  this->GetItem(&Proxy::Op, WS_ACTION(Op), request, &_ns1__##Op##Response::Op##Result, (out)->member, \
                &(out)->resultCode, copy)

}  // namespace ws
