// Account service: user accounts, user levels and the login session settings.
#include <cstring>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapAccountSoap12Service.h"
#include "webservice/Enums.h"

using namespace sim;

namespace {

ns1__User_USCORET *WireUser(struct soap *soap, const User &user) {
  return soap_new_set_ns1__User_USCORET(soap, soap_strdup(soap, user.id.c_str()),
                                        soap_strdup(soap, user.password.c_str()), user.level);
}

// Applies change to the named user under the device's lock; an unknown user
// gets resultCode 2 and no change.
template <class Response, class Change>
int WithUser(struct soap *soap, const char *userID, Response &response, Change change) {
  if (!TextsFit({userID})) return Reply(soap, response, kResultTooLong);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  User *user = device.FindUser(userID);
  if (!user) return Reply(soap, response, kResultUnknownUser);
  change(device, *user);
  return Reply(soap, response, kResultOk);
}

}  // namespace

int AccountSoap12Service::GetUserList(_ns1__GetUserList *, _ns1__GetUserListResponse &response) {
  response.GetUserListResult = soap_new_ns1__ArrayOfUser_USCORET(soap);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  auto &list = response.GetUserListResult->User_USCORET;
  list.reserve(device.users.size());
  for (const User &user : device.users) list.push_back(WireUser(soap, user));
  return Reply(soap, response, kResultOk);
}

int AccountSoap12Service::GetUser(_ns1__GetUser *request, _ns1__GetUserResponse &response) {
  return WithUser(soap, request ? request->userID : nullptr, response,
                  [&](DeviceState &, User &user) { response.GetUserResult = WireUser(soap, user); });
}

int AccountSoap12Service::AddUser(_ns1__AddUser *request, _ns1__AddUserResponse &response) {
  const ns1__User_USCORET *user = request ? request->user : nullptr;
  if (!user || !user->userID || !*user->userID) return Reply(soap, response, kResultMissingArgument);
  if (!TextsFit({user->userID, user->password})) return Reply(soap, response, kResultTooLong);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  if (device.FindUser(user->userID)) return Reply(soap, response, kResultUserExists);
  device.users.push_back({user->userID, user->password ? user->password : "", user->userLevel});
  response.AddUserResult = true;
  return Reply(soap, response, kResultOk);
}

int AccountSoap12Service::UpdateUser(_ns1__UpdateUser *request, _ns1__UpdateUserResponse &response) {
  const ns1__User_USCORET *wire = request ? request->user : nullptr;
  if (!wire) return Reply(soap, response, kResultMissingArgument);
  if (!TextsFit({wire->password})) return Reply(soap, response, kResultTooLong);
  return WithUser(soap, wire->userID, response, [&](DeviceState &, User &user) {
    if (wire->password) user.password = wire->password;
    user.level = wire->userLevel;
    response.UpdateUserResult = true;
  });
}

int AccountSoap12Service::RemoveUser(_ns1__RemoveUser *request, _ns1__RemoveUserResponse &response) {
  return WithUser(soap, request ? request->userID : nullptr, response, [&](DeviceState &device, User &user) {
    device.users.erase(device.users.begin() + (&user - device.users.data()));
    response.RemoveUserResult = true;
  });
}

int AccountSoap12Service::GetUserCount(_ns1__GetUserCount *, _ns1__GetUserCountResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  response.GetUserCountResult = static_cast<int>(device.users.size());
  return Reply(soap, response, kResultOk);
}

int AccountSoap12Service::GetUserLevel(_ns1__GetUserLevel *request, _ns1__GetUserLevelResponse &response) {
  const char *address = request ? request->ipAddress : nullptr;
  const bool local = address && !std::strcmp(address, "127.0.0.1");
  response.GetUserLevelResult = local ? WS_USER_ADMIN : WS_USER_NORMAL;
  return Reply(soap, response, kResultOk);
}

int AccountSoap12Service::GetSessionConfig(_ns1__GetSessionConfig *, _ns1__GetSessionConfigResponse &response) {
  ns1__SessionConfig_USCORET *config = soap_new_ns1__SessionConfig_USCORET(soap);
  config->maxRTPStreamTime = soap_new_ns1__ArrayOfTime_USCORET(soap);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  config->enableAnonymous = device.enableAnonymous;
  for (const TimeSlot &slot : device.maxRTPStreamTime)
    config->maxRTPStreamTime->Time_USCORET.push_back(
        soap_new_req_ns1__Time_USCORET(soap, slot.hour, slot.minute, slot.second));
  response.GetSessionConfigResult = config;
  return Reply(soap, response, kResultOk);
}

int AccountSoap12Service::SetSessionConfig(_ns1__SetSessionConfig *request, _ns1__SetSessionConfigResponse &response) {
  const ns1__SessionConfig_USCORET *config = request ? request->config : nullptr;
  if (!config) return Reply(soap, response, kResultMissingArgument);
  std::vector<TimeSlot> slots;
  if (config->maxRTPStreamTime)
    for (const ns1__Time_USCORET *time : config->maxRTPStreamTime->Time_USCORET)
      if (time) slots.push_back({time->hour, time->minute, time->second});
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.enableAnonymous = config->enableAnonymous;
  if (config->maxRTPStreamTime) device.maxRTPStreamTime = std::move(slots);
  response.SetSessionConfigResult = true;
  return Reply(soap, response, kResultOk);
}

WS_SIM_REGISTER_SERVICE(AccountSoap12Service);
