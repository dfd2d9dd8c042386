// BasicSystem service: device identity, version and capabilities.
#include <cstring>
#include <initializer_list>
#include <utility>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapBasicSystemSoap12Service.h"

using namespace sim;

namespace {

using Parameters = std::initializer_list<std::pair<const char *, const char *>>;

const char kSoftwareVersion[] = "2.1.0";

const Parameters kSpecProfile = {
    {"videoChannels", "4"}, {"streamsPerChannel", "2"}, {"videoCodecs", "MJPEG,H264"},
    {"audioCodecs", "G711_PCMU,G711_PCMA,G726_24K,G726_32K"}, {"maxStreamConnection", "64"}};
const Parameters kDeviceInformation = {
    {"deviceName", "webservice-sim"}, {"serialNumber", "SIM-000001"},
    {"macAddress", "02:00:00:00:00:01"}, {"swVersion", kSoftwareVersion}};

struct FunctionCategory {
  const char *name;
  Parameters functions;
};
const FunctionCategory kFunctionMap[] = {
    {"video", {{"videoSource", "1"}, {"videoEncoder", "1"}, {"dualStream", "1"}}},
    {"audio", {{"audioIn", "1"}, {"audioOut", "1"}}},
    {"ptz", {{"pan", "1"}, {"tilt", "1"}, {"zoom", "1"}, {"preset", "1"}}},
    {"io", {{"alarmInputs", "1"}, {"relayOutputs", "1"}}},
};

// The texts are constant and outlive every exchange; the schema's types just
// are not const.
char *Unconst(const char *text) { return const_cast<char *>(text); }

ns1__ArrayOfParameter_USCORET *WireParameters(struct soap *soap, const Parameters &parameters) {
  ns1__ArrayOfParameter_USCORET *list = soap_new_ns1__ArrayOfParameter_USCORET(soap);
  for (const auto &p : parameters)
    list->Parameter_USCORET.push_back(soap_new_set_ns1__Parameter_USCORET(soap, Unconst(p.first), Unconst(p.second)));
  return list;
}

}  // namespace

int BasicSystemSoap12Service::GetMaxChannel(_ns1__GetMaxChannel *, _ns1__GetMaxChannelResponse &response) {
  response.GetMaxChannelResult = DeviceState::kChannels;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetChannelList(_ns1__GetChannelList *, _ns1__GetChannelListResponse &response) {
  response.GetChannelListResult = soap_new_ns1__ArrayOfInt(soap);
  for (int channel = 1; channel <= DeviceState::kChannels; ++channel)
    response.GetChannelListResult->int_.push_back(channel);
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetVersion(_ns1__GetVersion *, _ns1__GetVersionResponse &response) {
  const Exchange &exchange = ExchangeOf(soap);
  const bool empty = exchange.options.emptyVersionOnSoapPath && exchange.kind == EndpointKind::kSoapPath;
  response.GetVersionResult = soap_new_set_ns1__Version_USCORET(soap, Unconst(empty ? "" : kSoftwareVersion),
                                                                Unconst("1.0"), Unconst("2.1.0-b42"));
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetMaxStreamConnection(_ns1__GetMaxStreamConnection *,
                                                     _ns1__GetMaxStreamConnectionResponse &response) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  response.GetMaxStreamConnectionResult = device.maxStreamConnection;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::SetMaxStreamConnection(_ns1__SetMaxStreamConnection *request,
                                                     _ns1__SetMaxStreamConnectionResponse &response) {
  const int size = request ? request->size : 0;
  if (size < 1 || size > 64) return Reply(soap, response, kResultOutOfRange);
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  device.maxStreamConnection = size;
  response.SetMaxStreamConnectionResult = true;
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetSpecProfile(_ns1__GetSpecProfile *, _ns1__GetSpecProfileResponse &response) {
  response.GetSpecProfileResult = WireParameters(soap, kSpecProfile);
  return Reply(soap, response, kResultOk);
}

int BasicSystemSoap12Service::GetFunctionMap(_ns1__GetFunctionMap *request, _ns1__GetFunctionMapResponse &response) {
  const char *category = request ? request->category : nullptr;
  for (const FunctionCategory &entry : kFunctionMap)
    if (category && !std::strcmp(category, entry.name)) {
      response.GetFunctionMapResult = WireParameters(soap, entry.functions);
      return Reply(soap, response, kResultOk);
    }
  return Reply(soap, response, kResultUnknownCategory);
}

int BasicSystemSoap12Service::GetDeviceInformation(_ns1__GetDeviceInformation *,
                                                   _ns1__GetDeviceInformationResponse &response) {
  response.GetDeviceInformationResult = WireParameters(soap, kDeviceInformation);
  return Reply(soap, response, kResultOk);
}

WS_SIM_REGISTER_SERVICE(BasicSystemSoap12Service);
