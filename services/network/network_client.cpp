#include "network_client.h"

#include "core/call_frame.h"

namespace ws {

namespace {

// Texts go out in place and come back by the bounded copy (an absent text
// leaves the field as it was).
void Fill(_ns1__AddIPSection &wire, const IPSectionRequestRecord &request, Outgoing &out) {
  auto &section = out.Element(wire.ipSection);
  section.alias = Send(request.section.alias);
  section.fromAddress = Send(request.section.fromAddress);
  section.toAddress = Send(request.section.toAddress);
}

void Copy(IPSectionRecord &record, const ns1__IPSection_USCORET &section) {
  CopyTextIfPresent(record.alias, section.alias);
  CopyTextIfPresent(record.fromAddress, section.fromAddress);
  CopyTextIfPresent(record.toAddress, section.toAddress);
}

void Fill(_ns1__SetWebProtocol &wire, const WebProtocolRequestRecord &request, Outgoing &out) {
  auto &protocol = out.Element(wire.protocol);
  protocol.enableHTTPS = Send(request.protocol.enableHTTPS);
  protocol.port = request.protocol.port;
}

void Copy(WebProtocolRecord &record, const ns1__WebProtocol_USCORET &protocol) {
  record.enableHTTPS = protocol.enableHTTPS;
  record.port = protocol.port;
}

void Fill(_ns1__SetIPv4 &wire, const IPv4RequestRecord &request, Outgoing &out) {
  auto &ipv4 = out.Element(wire.ipv4);
  ipv4.enableAuto = Send(request.ipv4.enableAuto);
  ipv4.ipAddress = Send(request.ipv4.ipAddress);
  ipv4.subNetMask = Send(request.ipv4.subNetMask);
  ipv4.defaultGateway = Send(request.ipv4.defaultGateway);
}

void Copy(IPv4Record &record, const ns1__IPv4_USCORET &ipv4) {
  record.enableAuto = ipv4.enableAuto;
  CopyTextIfPresent(record.ipAddress, ipv4.ipAddress);
  CopyTextIfPresent(record.subNetMask, ipv4.subNetMask);
  CopyTextIfPresent(record.defaultGateway, ipv4.defaultGateway);
}

void Fill(_ns1__SetDNSServer &wire, const DNSRequestRecord &request, Outgoing &out) {
  auto &dns = out.Element(wire.dns);
  dns.primaryDNS = Send(request.dns.primaryDNS);
  dns.secondaryDNS = Send(request.dns.secondaryDNS);
}

void Copy(DNSRecord &record, const ns1__DNS_USCORET &dns) {
  CopyTextIfPresent(record.primaryDNS, dns.primaryDNS);
  CopyTextIfPresent(record.secondaryDNS, dns.secondaryDNS);
}

void Fill(_ns1__SetDDNSServer &wire, const DDNSRequestRecord &request, Outgoing &out) {
  auto &ddns = out.Element(wire.dns);
  ddns.enable = Send(request.ddns.enable);
  ddns.hostname = Send(request.ddns.hostname);
}

void Copy(DDNSRecord &record, const ns1__DDNS_USCORET &ddns) {
  record.enable = ddns.enable;
  CopyTextIfPresent(record.hostname, ddns.hostname);
}

void Fill(_ns1__SetRTPConfig &wire, const RTPConfigRequestRecord &request, Outgoing &out) {
  auto &config = out.Element(wire.config);
  config.videoRTPPort = request.config.videoRTPPort;
  config.audioRTPPort = request.config.audioRTPPort;
  config.vaRTPPort = request.config.vaRTPPort;
  config.enableMulticast = Send(request.config.enableMulticast);
  config.multicastIP = Send(request.config.multicastIP);
}

void Copy(RTPConfigRecord &record, const ns1__RTPConfig_USCORET &config) {
  record.videoRTPPort = config.videoRTPPort;
  record.audioRTPPort = config.audioRTPPort;
  record.vaRTPPort = config.vaRTPPort;
  record.enableMulticast = config.enableMulticast;
  CopyTextIfPresent(record.multicastIP, config.multicastIP);
}

}  // namespace

#define WS_NETWORK_CONVERSION(...) WS_DEFINE_CONVERSION(NetworkClient, __VA_ARGS__)
WS_NETWORK_OPERATIONS(WS_NETWORK_CONVERSION)

}  // namespace ws

#define WS_NETWORK_EXPORT(Op, Request, Response, ...) WS_DEFINE_EXPORT(ws::NetworkClient, Op, Request, Response)
WS_NETWORK_OPERATIONS(WS_NETWORK_EXPORT)
