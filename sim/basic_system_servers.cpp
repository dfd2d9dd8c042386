// BasicSystem service: the recording servers, each known by a unique alias.
#include <algorithm>
#include <cstring>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapBasicSystemSoap12Service.h"

using namespace sim;

namespace sim {

bool SilentServer(const char *address) { return !address || !*address || !std::strncmp(address, "192.0.2.", 8); }

}  // namespace sim

namespace {

ns1__RecordingServer_USCORET *WireServer(struct soap *soap, const RecordingServer &server) {
  return soap_new_set_ns1__RecordingServer_USCORET(
      soap, server.enable, soap_strdup(soap, server.alias.c_str()), server.type,
      soap_strdup(soap, server.serverAddress.c_str()), soap_strdup(soap, server.userID.c_str()),
      soap_strdup(soap, server.password.c_str()), soap_strdup(soap, server.folder.c_str()), server.capacity,
      server.overwrite);
}

bool Fits(const char *text, size_t capacity) { return !text || std::strlen(text) < capacity; }

// The verdict on a server as sent: kResultOk, or why the device refuses it.
// The limits are the sizes the library's records give each text.
int CheckServer(const ns1__RecordingServer_USCORET *wire) {
  if (!wire || !wire->alias || !*wire->alias) return kResultMissingArgument;
  if (!Fits(wire->alias, 256) || !Fits(wire->serverAddress, 100) || !Fits(wire->userID, 100) ||
      !Fits(wire->password, 100) || !Fits(wire->folder, 256))
    return kResultTooLong;
  return kResultOk;
}

RecordingServer FromWire(const ns1__RecordingServer_USCORET &wire) {
  auto text = [](const char *value) { return std::string(value ? value : ""); };
  return {wire.enable,        text(wire.alias),    wire.type,     text(wire.serverAddress),
          text(wire.userID),  text(wire.password), text(wire.folder), wire.capacity,
          wire.overwrite};
}

// The server of that alias, or the list's end.  Call with the mutex held.
std::vector<RecordingServer>::iterator FindServer(DeviceState &device, const char *alias) {
  auto &servers = device.basicSystem.recordingServers;
  return std::find_if(servers.begin(), servers.end(),
                      [&](const RecordingServer &server) { return alias && server.alias == alias; });
}

// Runs change on the server of that alias under the device's lock; an
// unknown alias is refused.
template <class Response, class Change>
int WithServer(struct soap *soap, const char *alias, Response &response, Change change) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  auto found = FindServer(device, alias);
  if (found == device.basicSystem.recordingServers.end())
    return Reply(soap, response, kResultUnknownRecordingServer);
  return Reply(soap, response, change(device, found));
}

}  // namespace

int BasicSystemSoap12Service::GetRecordingServerList(_ns1__GetRecordingServerList *,
                                                     _ns1__GetRecordingServerListResponse &response) {
  response.GetRecordingServerListResult = soap_new_ns1__ArrayOfRecordingServer_USCORET(soap);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  for (const RecordingServer &server : device.basicSystem.recordingServers)
    response.GetRecordingServerListResult->RecordingServer_USCORET.push_back(WireServer(soap, server));
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetRecordingServer(_ns1__GetRecordingServer *request,
                                                 _ns1__GetRecordingServerResponse &response) {
  return WithServer(soap, request ? request->alias : nullptr, response, [&](DeviceState &, auto found) {
    response.GetRecordingServerResult = WireServer(soap, *found);
    return kResultOk;
  });
}

int BasicSystemSoap12Service::AddRecordingServer(_ns1__AddRecordingServer *request,
                                                 _ns1__AddRecordingServerResponse &response) {
  const ns1__RecordingServer_USCORET *wire = request ? request->server : nullptr;
  if (int refusal = CheckServer(wire)) return Reply(soap, response, refusal);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  if (FindServer(device, wire->alias) != device.basicSystem.recordingServers.end())
    return Reply(soap, response, kResultRecordingServerExists);
  device.basicSystem.recordingServers.push_back(FromWire(*wire));
  response.AddRecordingServerResult = true;
  return Reply(soap, response, kResultOk);
}

// The server known by prevAlias takes the new settings; a new alias moves
// it, unless another server already has that alias.
int BasicSystemSoap12Service::UpdateRecordingServer(_ns1__UpdateRecordingServer *request,
                                                    _ns1__UpdateRecordingServerResponse &response) {
  const ns1__RecordingServer_USCORET *wire = request ? request->server : nullptr;
  if (int refusal = CheckServer(wire)) return Reply(soap, response, refusal);
  return WithServer(soap, request->prevAlias, response, [&](DeviceState &device, auto found) {
    auto other = FindServer(device, wire->alias);
    if (other != device.basicSystem.recordingServers.end() && other != found) return kResultRecordingServerExists;
    *found = FromWire(*wire);
    response.UpdateRecordingServerResult = true;
    return kResultOk;
  });
}

int BasicSystemSoap12Service::RemoveRecordingServer(_ns1__RemoveRecordingServer *request,
                                                    _ns1__RemoveRecordingServerResponse &response) {
  return WithServer(soap, request ? request->alias : nullptr, response, [&](DeviceState &device, auto found) {
    device.basicSystem.recordingServers.erase(found);
    response.RemoveRecordingServerResult = true;
    return kResultOk;
  });
}

int BasicSystemSoap12Service::TestRecordingServer(_ns1__TestRecordingServer *request,
                                                  _ns1__TestRecordingServerResponse &response) {
  const ns1__RecordingServer_USCORET *wire = request ? request->server : nullptr;
  if (!wire) return Reply(soap, response, kResultMissingArgument);
  if (SilentServer(wire->serverAddress)) return Reply(soap, response, kResultServerUnreachable);
  response.TestRecordingServerResult = true;
  return Reply(soap, response, kResultOk);
}
