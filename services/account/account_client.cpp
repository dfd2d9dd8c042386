#include "account_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

void FillUser(ns1__User_USCORET &wire, const UserRecord &user) {
  wire.userID = SendText(user.userID);
  wire.password = SendText(user.password);
  wire.userLevel = user.userLevel;
}

// AddUser and UpdateUser carry the same user element.
template <class Wire>
Wire &WithUser(Wire &wire, ns1__User_USCORET &user, const UserRecord &record) {
  FillUser(user, record);
  wire.user = &user;
  return wire;
}

template <class Record>
void CopyUser(Record &record, const ns1__User_USCORET &wire) {
  CopyTextIfPresent(record.password, wire.password);
  CopyTextIfPresent(record.userID, wire.userID);
  record.userLevel = wire.userLevel;
}

}  // namespace

int AccountClient::CallGetUserList(const void *, UserListRecord *response) {
  _ns1__GetUserList request;
  _ns1__GetUserListResponse answer;
  if (int status = WS_INVOKE(GetUserList, &request, answer)) return status;
  auto *list = answer.GetUserListResult ? &answer.GetUserListResult->User_USCORET : nullptr;
  return FillListWhenNonEmpty(response, answer.resultCode, list,
                              [](UserRecord &item, const ns1__User_USCORET &user) { CopyUser(item, user); });
}

int AccountClient::CallGetUser(const UserRequestRecord *request, UserResponseRecord *response) {
  _ns1__GetUser wire;
  wire.userID = SendText(request->user.userID);
  _ns1__GetUserResponse answer;
  if (int status = WS_INVOKE(GetUser, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (answer.GetUserResult) CopyUser(*response, *answer.GetUserResult);
  return 0;
}

int AccountClient::CallAddUser(const UserRequestRecord *request, CallResult *response) {
  ns1__User_USCORET user;
  _ns1__AddUser wire;
  return WS_INVOKE_FOR_CALL_RESULT(AddUser, &WithUser(wire, user, request->user), response);
}

int AccountClient::CallUpdateUser(const UserRequestRecord *request, CallResult *response) {
  ns1__User_USCORET user;
  _ns1__UpdateUser wire;
  return WS_INVOKE_FOR_CALL_RESULT(UpdateUser, &WithUser(wire, user, request->user), response);
}

int AccountClient::CallRemoveUser(const UserRequestRecord *request, CallResult *response) {
  _ns1__RemoveUser wire;
  wire.userID = SendText(request->user.userID);
  return WS_INVOKE_FOR_CALL_RESULT(RemoveUser, &wire, response);
}

int AccountClient::CallGetUserCount(const void *, IntValueRecord *response) {
  _ns1__GetUserCount wire;
  return WS_INVOKE_FOR_INT_VALUE(GetUserCount, &wire, response);
}

int AccountClient::CallGetUserLevel(const char *request, IntValueRecord *response) {
  _ns1__GetUserLevel wire;
  wire.ipAddress = SendText(request);
  return WS_INVOKE_FOR_INT_VALUE(GetUserLevel, &wire, response);
}

int AccountClient::CallGetSessionConfig(const void *, SessionConfigResponseRecord *response) {
  _ns1__GetSessionConfig wire;
  _ns1__GetSessionConfigResponse answer;
  if (int status = WS_INVOKE(GetSessionConfig, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  const ns1__SessionConfig_USCORET *config = answer.GetSessionConfigResult;
  if (!config) return 0;
  response->config.enableAnonymous = config->enableAnonymous;
  if (!config->maxRTPStreamTime) return 0;
  // Only the slots the answer carries are copied; the record holds four.
  const auto &times = config->maxRTPStreamTime->Time_USCORET;
  for (size_t i = 0; i < times.size() && i < 4; ++i) {
    if (!times[i]) continue;
    TimeSlotRecord &slot = response->config.maxRTPStreamTime[i];
    slot.hour = times[i]->hour;
    slot.minute = times[i]->minute;
    slot.second = times[i]->second;
  }
  return 0;
}

int AccountClient::CallSetSessionConfig(const SessionConfigRequestRecord *request, CallResult *response) {
  ns1__Time_USCORET slots[4];
  ns1__ArrayOfTime_USCORET times;
  for (int i = 0; i < 4; ++i) {
    const TimeSlotRecord &slot = request->config.maxRTPStreamTime[i];
    slots[i].hour = slot.hour;
    slots[i].minute = slot.minute;
    slots[i].second = slot.second;
    times.Time_USCORET.push_back(&slots[i]);
  }
  ns1__SessionConfig_USCORET config;
  config.enableAnonymous = request->config.enableAnonymous;
  config.maxRTPStreamTime = &times;
  _ns1__SetSessionConfig wire;
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetSessionConfig, &wire, response);
}

}  // namespace ws

#define WS_ACCOUNT_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::AccountClient, Op, Request, Response)
WS_ACCOUNT_OPERATIONS(WS_ACCOUNT_EXPORT)
