// Conversions that both halves of the EventSchedule client use: dates and
// notification targets.
#pragma once

#include <vector>

#include "core/records.h"
#include "soapStub.h"
#include "webservice/EventSchedule.h"

namespace ws {

inline void FillDate(ns1__Date_USCORET &date, int32_t year, int32_t month, int32_t day) {
  date.year = year;
  date.month = month;
  date.day = day;
}

inline void CopyNotify(EventNotifyRecord &record, const ns1__EventNotify_USCORET &wire) {
  record.type = wire.type;
  CopyTextIfPresent(record.id, wire.id);
}

// Builds the wire list of the caller's count targets: items holds them for
// the length of the call and array points at them; the ids are sent in place.
inline void FillNotifies(std::vector<ns1__EventNotify_USCORET> &items, ns1__ArrayOfEventNotify_USCORET &array,
                         const EventNotifyRecord *notifies, int32_t count) {
  const size_t n = notifies && count > 0 ? static_cast<size_t>(count) : 0;
  items.resize(n);
  for (size_t i = 0; i < n; ++i) {
    items[i].type = notifies[i].type;
    items[i].id = SendText(notifies[i].id);
    array.EventNotify_USCORET.push_back(&items[i]);
  }
}

}  // namespace ws
