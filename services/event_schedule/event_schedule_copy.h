// Conversions that both halves of the EventSchedule client use: dates and
// notification targets.
#pragma once

#include "core/records.h"
#include "soapStub.h"
#include "webservice/EventSchedule.h"

namespace ws {

inline void FillDate(ns1__Date_USCORET &date, int32_t year, int32_t month, int32_t day) {
  date.year = year;
  date.month = month;
  date.day = day;
}

inline void Copy(EventNotifyRecord &record, const ns1__EventNotify_USCORET &wire) {
  record.type = wire.type;
  CopyTextIfPresent(record.id, wire.id);
}

// The wire list of the caller's count targets; the ids are sent in place.
inline void SendNotifies(Outgoing &out, ns1__ArrayOfEventNotify_USCORET *&list, const EventNotifyRecord *notifies,
                         int32_t count) {
  SendItems(out, out.Element(list).EventNotify_USCORET, notifies, notifies && count > 0 ? static_cast<size_t>(count) : 0,
            [](ns1__EventNotify_USCORET &wire, const EventNotifyRecord &notify) {
              wire.type = notify.type;
              wire.id = Send(notify.id);
            });
}

}  // namespace ws
