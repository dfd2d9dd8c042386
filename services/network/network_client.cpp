#include "network_client.h"

#include <cstring>

#include "core/call_frame.h"

namespace ws {

namespace {

// One field between a caller record and its wire object, in either direction.
// Texts go out in place and come back by the bounded copy (an absent text
// leaves the field as it was); a boolean is read as the caller's byte, so any
// nonzero byte counts as true.
template <size_t N>
void Move(const char (&from)[N], char *&to) {
  to = SendText(from);
}
template <size_t N>
void Move(char *const &from, char (&to)[N]) {
  CopyTextIfPresent(to, from);
}
void Move(const bool &from, bool &to) {
  unsigned char byte;
  std::memcpy(&byte, &from, 1);
  to = byte != 0;
}
void Move(int from, int &to) { to = from; }

// Map(from, to) runs as Map(record, wire) for a request and as
// Map(wire, record) for an answer.
template <class A, class B>
void MapIPv4(const A &from, B &to) {
  Move(from.enableAuto, to.enableAuto);
  Move(from.ipAddress, to.ipAddress);
  Move(from.subNetMask, to.subNetMask);
  Move(from.defaultGateway, to.defaultGateway);
}

template <class A, class B>
void MapDNS(const A &from, B &to) {
  Move(from.primaryDNS, to.primaryDNS);
  Move(from.secondaryDNS, to.secondaryDNS);
}

template <class A, class B>
void MapDDNS(const A &from, B &to) {
  Move(from.enable, to.enable);
  Move(from.hostname, to.hostname);
}

template <class A, class B>
void MapRTPConfig(const A &from, B &to) {
  Move(from.videoRTPPort, to.videoRTPPort);
  Move(from.audioRTPPort, to.audioRTPPort);
  Move(from.vaRTPPort, to.vaRTPPort);
  Move(from.enableMulticast, to.enableMulticast);
  Move(from.multicastIP, to.multicastIP);
}

template <class A, class B>
void MapIPSection(const A &from, B &to) {
  Move(from.alias, to.alias);
  Move(from.fromAddress, to.fromAddress);
  Move(from.toAddress, to.toAddress);
}

template <class A, class B>
void MapWebProtocol(const A &from, B &to) {
  Move(from.enableHTTPS, to.enableHTTPS);
  Move(from.port, to.port);
}

// Writes resultCode, and the payload through map when the answer has a
// result; without one the payload stays as the caller had it.
template <class Wire, class Payload, class Map>
int CopyResult(int resultCode, const Wire *result, Payload &payload, int32_t &out, Map map) {
  out = resultCode;
  if (result) map(*result, payload);
  return 0;
}

#define WS_COPY_RESULT(answer, Op, payload, map)                                               \
  CopyResult(answer.resultCode, answer.Op##Result, response->payload, response->resultCode, \
             [](const auto &wire, auto &record) { map(wire, record); })

// A Get whose request is empty and whose result is one wire object.
#define WS_GET_PAYLOAD(Op, payload, map)                               \
  _ns1__##Op wire;                                                     \
  _ns1__##Op##Response answer;                                         \
  if (int status = WS_INVOKE(Op, &wire, answer)) return status;        \
  return WS_COPY_RESULT(answer, Op, payload, map)

}  // namespace

#define WS_INVOKE_FOR_BOOL_VALUE(Op, request, out) \
  this->InvokeForBoolValue(&Proxy::Op, WS_ACTION(Op), request, &_ns1__##Op##Response::Op##Result, out)

int NetworkClient::CallGetIPSectionList(const void *, IPSectionListRecord *response) {
  _ns1__GetIPSectionList wire;
  _ns1__GetIPSectionListResponse answer;
  if (int status = WS_INVOKE(GetIPSectionList, &wire, answer)) return status;
  auto *list = answer.GetIPSectionListResult ? &answer.GetIPSectionListResult->IPSection_USCORET : nullptr;
  return FillListCountAlways(response, answer.resultCode, list,
                             [](IPSectionRecord &item, const ns1__IPSection_USCORET &section) {
                               MapIPSection(section, item);
                             });
}

int NetworkClient::CallGetIPSection(const TextRequestRecord *request, IPSectionResponseRecord *response) {
  _ns1__GetIPSection wire;
  wire.alias = SendText(request->text);
  _ns1__GetIPSectionResponse answer;
  if (int status = WS_INVOKE(GetIPSection, &wire, answer)) return status;
  return WS_COPY_RESULT(answer, GetIPSection, section, MapIPSection);
}

int NetworkClient::CallAddIPSection(const IPSectionRequestRecord *request, CallResult *response) {
  ns1__IPSection_USCORET section;
  MapIPSection(request->section, section);
  _ns1__AddIPSection wire;
  wire.ipSection = &section;
  return WS_INVOKE_FOR_CALL_RESULT(AddIPSection, &wire, response);
}

int NetworkClient::CallRemoveIPSection(const TextRequestRecord *request, CallResult *response) {
  _ns1__RemoveIPSection wire;
  wire.alias = SendText(request->text);
  return WS_INVOKE_FOR_CALL_RESULT(RemoveIPSection, &wire, response);
}

int NetworkClient::CallRemoveAllIPSection(const void *, CallResult *response) {
  _ns1__RemoveAllIPSection wire;
  return WS_INVOKE_FOR_CALL_RESULT(RemoveAllIPSection, &wire, response);
}

int NetworkClient::CallGetAccessPolicy(const void *, BoolValueRecord *response) {
  _ns1__GetAccessPolicy wire;
  return WS_INVOKE_FOR_BOOL_VALUE(GetAccessPolicy, &wire, response);
}

int NetworkClient::CallSetAccessPolicy(const BoolRequestRecord *request, CallResult *response) {
  _ns1__SetAccessPolicy wire;
  Move(request->value, wire.allow);
  return WS_INVOKE_FOR_CALL_RESULT(SetAccessPolicy, &wire, response);
}

int NetworkClient::CallGetWebProtocol(const void *, WebProtocolResponseRecord *response) {
  WS_GET_PAYLOAD(GetWebProtocol, protocol, MapWebProtocol);
}

int NetworkClient::CallSetWebProtocol(const WebProtocolRequestRecord *request, CallResult *response) {
  ns1__WebProtocol_USCORET protocol;
  MapWebProtocol(request->protocol, protocol);
  _ns1__SetWebProtocol wire;
  wire.protocol = &protocol;
  return WS_INVOKE_FOR_CALL_RESULT(SetWebProtocol, &wire, response);
}

int NetworkClient::CallGetARPPingUsage(const void *, BoolValueRecord *response) {
  _ns1__GetARPPingUsage wire;
  return WS_INVOKE_FOR_BOOL_VALUE(GetARPPingUsage, &wire, response);
}

int NetworkClient::CallSetARPPingUsage(const BoolRequestRecord *request, CallResult *response) {
  _ns1__SetARPPingUsage wire;
  Move(request->value, wire.enable);
  return WS_INVOKE_FOR_CALL_RESULT(SetARPPingUsage, &wire, response);
}

int NetworkClient::CallGetMacAddress(const void *, MacAddressRecord *response) {
  _ns1__GetMacAddress wire;
  _ns1__GetMacAddressResponse answer;
  if (int status = WS_INVOKE(GetMacAddress, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  CopyTextIfPresent(response->macAddress, answer.GetMacAddressResult);
  return 0;
}

int NetworkClient::CallGetIPv4(const void *, IPv4ResponseRecord *response) {
  WS_GET_PAYLOAD(GetIPv4, ipv4, MapIPv4);
}

int NetworkClient::CallSetIPv4(const IPv4RequestRecord *request, CallResult *response) {
  ns1__IPv4_USCORET ipv4;
  MapIPv4(request->ipv4, ipv4);
  _ns1__SetIPv4 wire;
  wire.ipv4 = &ipv4;
  return WS_INVOKE_FOR_CALL_RESULT(SetIPv4, &wire, response);
}

int NetworkClient::CallGetDNSServer(const void *, DNSResponseRecord *response) {
  WS_GET_PAYLOAD(GetDNSServer, dns, MapDNS);
}

int NetworkClient::CallSetDNSServer(const DNSRequestRecord *request, CallResult *response) {
  ns1__DNS_USCORET dns;
  MapDNS(request->dns, dns);
  _ns1__SetDNSServer wire;
  wire.dns = &dns;
  return WS_INVOKE_FOR_CALL_RESULT(SetDNSServer, &wire, response);
}

int NetworkClient::CallGetDDNSServer(const void *, DDNSResponseRecord *response) {
  WS_GET_PAYLOAD(GetDDNSServer, ddns, MapDDNS);
}

int NetworkClient::CallSetDDNSServer(const DDNSRequestRecord *request, CallResult *response) {
  ns1__DDNS_USCORET ddns;
  MapDDNS(request->ddns, ddns);
  _ns1__SetDDNSServer wire;
  wire.dns = &ddns;
  return WS_INVOKE_FOR_CALL_RESULT(SetDDNSServer, &wire, response);
}

int NetworkClient::CallGetTTL(const void *, IntValueRecord *response) {
  _ns1__GetTTL wire;
  return WS_INVOKE_FOR_INT_VALUE(GetTTL, &wire, response);
}

int NetworkClient::CallSetTTL(const IntRequestRecord *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(SetTTL, WS_REQUEST_WITH(SetTTL, ttl, request->value), response);
}

int NetworkClient::CallGetRTSPPort(const void *, IntValueRecord *response) {
  _ns1__GetRTSPPort wire;
  return WS_INVOKE_FOR_INT_VALUE(GetRTSPPort, &wire, response);
}

int NetworkClient::CallSetRTSPPort(const IntRequestRecord *request, CallResult *response) {
  return WS_INVOKE_FOR_CALL_RESULT(SetRTSPPort, WS_REQUEST_WITH(SetRTSPPort, port, request->value), response);
}

int NetworkClient::CallGetRTPConfig(const StreamRecord *request, RTPConfigResponseRecord *response) {
  _ns1__GetRTPConfig wire;
  wire.channel = request->channel;
  Move(request->master, wire.master);
  _ns1__GetRTPConfigResponse answer;
  if (int status = WS_INVOKE(GetRTPConfig, &wire, answer)) return status;
  return WS_COPY_RESULT(answer, GetRTPConfig, config, MapRTPConfig);
}

int NetworkClient::CallSetRTPConfig(const RTPConfigRequestRecord *request, CallResult *response) {
  ns1__RTPConfig_USCORET config;
  MapRTPConfig(request->config, config);
  _ns1__SetRTPConfig wire;
  wire.channel = request->channel;
  Move(request->master, wire.master);
  wire.config = &config;
  return WS_INVOKE_FOR_CALL_RESULT(SetRTPConfig, &wire, response);
}

}  // namespace ws

#define WS_NETWORK_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::NetworkClient, Op, Request, Response)
WS_NETWORK_OPERATIONS(WS_NETWORK_EXPORT)
