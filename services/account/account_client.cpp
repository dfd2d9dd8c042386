#include "account_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

// AddUser and UpdateUser carry the same user element.
template <class Wire>
void Fill(Wire &wire, const UserRequestRecord &request, Outgoing &out) {
  wire.user = out.New<ns1__User_USCORET>();
  wire.user->userID = Send(request.user.userID);
  wire.user->password = Send(request.user.password);
  wire.user->userLevel = request.user.userLevel;
}

template <class Record>
void Copy(Record &record, const ns1__User_USCORET &wire) {
  CopyTextIfPresent(record.password, wire.password);
  CopyTextIfPresent(record.userID, wire.userID);
  record.userLevel = wire.userLevel;
}

// All four slots travel; only the slots the answer carries come back.
void Fill(_ns1__SetSessionConfig &wire, const SessionConfigRequestRecord &request, Outgoing &out) {
  wire.config = out.New<ns1__SessionConfig_USCORET>();
  wire.config->enableAnonymous = Send(request.config.enableAnonymous);
  wire.config->maxRTPStreamTime = out.New<ns1__ArrayOfTime_USCORET>();
  SendItems(out, wire.config->maxRTPStreamTime->Time_USCORET, request.config.maxRTPStreamTime, 4,
            [](ns1__Time_USCORET &time, const TimeSlotRecord &slot) {
              time.hour = slot.hour;
              time.minute = slot.minute;
              time.second = slot.second;
            });
}

int Store(SessionConfigResponseRecord &record, const _ns1__GetSessionConfigResponse &answer) {
  const ns1__SessionConfig_USCORET *config = answer.GetSessionConfigResult;
  if (!config) return 0;
  record.config.enableAnonymous = config->enableAnonymous;
  if (!config->maxRTPStreamTime) return 0;
  // Only the slots the answer carries are copied; the record holds four.
  const auto &times = config->maxRTPStreamTime->Time_USCORET;
  for (size_t i = 0; i < times.size() && i < 4; ++i) {
    if (!times[i]) continue;
    TimeSlotRecord &slot = record.config.maxRTPStreamTime[i];
    slot.hour = times[i]->hour;
    slot.minute = times[i]->minute;
    slot.second = times[i]->second;
  }
  return 0;
}

}  // namespace

#define WS_ACCOUNT_CONVERSION(...) WS_DEFINE_CONVERSION(AccountClient, __VA_ARGS__)
WS_ACCOUNT_OPERATIONS(WS_ACCOUNT_CONVERSION)

}  // namespace ws

#define WS_ACCOUNT_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::AccountClient, Op, Request, Response)
WS_ACCOUNT_OPERATIONS(WS_ACCOUNT_EXPORT)
