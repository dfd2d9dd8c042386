// Network service: addresses, name servers, ports, IP access sections and the
// web protocol of a device, kept as settings only.  Every Set is checked the
// way a device would check it and, when accepted, shows in the next Get.  The
// device has no wireless interface: those operations are refused.
#include <cstdio>
#include <cstring>
#include <string>

#include "sim/device_state.h"
#include "sim/service.h"
#include "soapNetworkSoap12Service.h"

using namespace sim;

namespace {

constexpr size_t kMaxName = 255;  // the longest alias or host name the device keeps

// Reads dotted IPv4 text ("a.b.c.d", each 0..255) into a number.
bool ParseIPv4(const char *text, unsigned long *address) {
  unsigned parts[4];
  char end;
  if (!text || std::strspn(text, "0123456789.") != std::strlen(text)) return false;
  if (std::sscanf(text, "%3u.%3u.%3u.%3u%c", &parts[0], &parts[1], &parts[2], &parts[3], &end) != 4) return false;
  unsigned long value = 0;
  for (unsigned part : parts) {
    if (part > 255) return false;
    value = value << 8 | part;
  }
  // No empty parts and no leading zeros beyond a single 0 are hidden by
  // sscanf: compare with the canonical form.
  char canonical[16];
  std::snprintf(canonical, sizeof canonical, "%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
  if (std::strcmp(canonical, text) != 0) return false;
  if (address) *address = value;
  return true;
}

bool IsIPv4(const char *text) { return ParseIPv4(text, nullptr); }
bool IsEmpty(const char *text) { return !text || !*text; }
// An address that may be left empty (no gateway, no second name server).
bool IsIPv4OrEmpty(const char *text) { return IsEmpty(text) || IsIPv4(text); }
bool IsPort(int port) { return port >= 1 && port <= 65535; }

// Stores text when the request carried it.
void StoreIfPresent(std::string &field, const char *text) {
  if (text) field = text;
}

char *Text(struct soap *soap, const std::string &text) { return soap_strdup(soap, text.c_str()); }

// Runs body on the network settings under the device's lock.
template <class Body>
auto WithNetwork(struct soap *soap, Body body) {
  DeviceState &device = DeviceOf(soap);
  std::lock_guard<std::mutex> lock(device.mutex);
  return body(device.network);
}

// A Set, Add or Remove: refusal is the verdict of the request's own checks;
// when it is kResultOk, apply runs under the lock and gives the final verdict.
// The boolean result is true exactly when the change was made.
template <class Response, class Apply>
int Change(struct soap *soap, Response &response, bool &result, int refusal, Apply apply) {
  if (refusal == kResultOk) refusal = WithNetwork(soap, apply);
  result = refusal == kResultOk;
  return Reply(soap, response, refusal);
}

// A Get of one value: read runs under the lock and fills the response.
template <class Response, class Fill>
int Read(struct soap *soap, Response &response, Fill fill) {
  WithNetwork(soap, [&](const NetworkState &network) { fill(network); });
  return Reply(soap, response, kResultOk);
}

// The checks of a new access section.
int CheckSection(const ns1__IPSection_USCORET *section) {
  unsigned long from = 0, to = 0;
  if (!section || IsEmpty(section->alias)) return kResultMissingArgument;
  if (std::strlen(section->alias) > kMaxName) return kResultTooLong;
  if (!ParseIPv4(section->fromAddress, &from) || !ParseIPv4(section->toAddress, &to)) return kResultNotIPv4Address;
  return from <= to ? kResultOk : kResultReversedRange;
}

int CheckIPv4(const ns1__IPv4_USCORET *ipv4) {
  if (!ipv4) return kResultMissingArgument;
  // A static address needs an address and a mask; with DHCP they may be empty.
  if (!ipv4->enableAuto && (IsEmpty(ipv4->ipAddress) || IsEmpty(ipv4->subNetMask))) return kResultMissingArgument;
  const bool valid =
      IsIPv4OrEmpty(ipv4->ipAddress) && IsIPv4OrEmpty(ipv4->subNetMask) && IsIPv4OrEmpty(ipv4->defaultGateway);
  return valid ? kResultOk : kResultNotIPv4Address;
}

int CheckDDNS(const ns1__DDNS_USCORET *ddns) {
  if (!ddns || (ddns->enable && IsEmpty(ddns->hostname))) return kResultMissingArgument;
  return ddns->hostname && std::strlen(ddns->hostname) > kMaxName ? kResultTooLong : kResultOk;
}

int CheckRtp(int channel, const ns1__RTPConfig_USCORET *config) {
  if (DeviceState::ChannelIndex(channel) < 0) return kResultUnknownChannel;
  if (!config) return kResultMissingArgument;
  if (!IsPort(config->videoRTPPort) || !IsPort(config->audioRTPPort) || !IsPort(config->vaRTPPort))
    return kResultPortOutOfRange;
  if (config->enableMulticast ? !IsIPv4(config->multicastIP) : !IsIPv4OrEmpty(config->multicastIP))
    return kResultNotIPv4Address;
  return kResultOk;
}

ns1__IPSection_USCORET *WireSection(struct soap *soap, const IPSection &section) {
  auto *wire = soap_new_ns1__IPSection_USCORET(soap);
  wire->alias = Text(soap, section.alias);
  wire->fromAddress = Text(soap, section.fromAddress);
  wire->toAddress = Text(soap, section.toAddress);
  return wire;
}

// The position of the section of that alias, or end().
auto FindSection(NetworkState &network, const char *alias) {
  auto it = network.sections.begin();
  while (it != network.sections.end() && (!alias || it->alias != alias)) ++it;
  return it;
}

}  // namespace

// ---- IP access control and web protocol ----

int NetworkSoap12Service::GetIPSectionList(_ns1__GetIPSectionList *, _ns1__GetIPSectionListResponse &response) {
  auto *list = soap_new_ns1__ArrayOfIPSection_USCORET(soap);
  response.GetIPSectionListResult = list;
  return Read(soap, response, [&](const NetworkState &network) {
    for (const IPSection &section : network.sections) list->IPSection_USCORET.push_back(WireSection(soap, section));
  });
}

int NetworkSoap12Service::GetIPSection(_ns1__GetIPSection *request, _ns1__GetIPSectionResponse &response) {
  const char *alias = request ? request->alias : nullptr;
  int code = WithNetwork(soap, [&](NetworkState &network) {
    auto it = FindSection(network, alias);
    if (it == network.sections.end()) return kResultUnknownSection;
    response.GetIPSectionResult = WireSection(soap, *it);
    return kResultOk;
  });
  return Reply(soap, response, code);
}

int NetworkSoap12Service::AddIPSection(_ns1__AddIPSection *request, _ns1__AddIPSectionResponse &response) {
  const ns1__IPSection_USCORET *section = request ? request->ipSection : nullptr;
  return Change(soap, response, response.AddIPSectionResult, CheckSection(section), [&](NetworkState &network) {
    if (FindSection(network, section->alias) != network.sections.end()) return kResultSectionExists;
    network.sections.push_back({section->alias, section->fromAddress, section->toAddress});
    return kResultOk;
  });
}

int NetworkSoap12Service::RemoveIPSection(_ns1__RemoveIPSection *request, _ns1__RemoveIPSectionResponse &response) {
  const char *alias = request ? request->alias : nullptr;
  return Change(soap, response, response.RemoveIPSectionResult, kResultOk, [&](NetworkState &network) {
    auto it = FindSection(network, alias);
    if (it == network.sections.end()) return kResultUnknownSection;
    network.sections.erase(it);
    return kResultOk;
  });
}

int NetworkSoap12Service::RemoveAllIPSection(_ns1__RemoveAllIPSection *, _ns1__RemoveAllIPSectionResponse &response) {
  return Change(soap, response, response.RemoveAllIPSectionResult, kResultOk, [](NetworkState &network) {
    network.sections.clear();
    return kResultOk;
  });
}

int NetworkSoap12Service::GetAccessPolicy(_ns1__GetAccessPolicy *, _ns1__GetAccessPolicyResponse &response) {
  return Read(soap, response,
              [&](const NetworkState &network) { response.GetAccessPolicyResult = network.allowSections; });
}

int NetworkSoap12Service::SetAccessPolicy(_ns1__SetAccessPolicy *request, _ns1__SetAccessPolicyResponse &response) {
  const int check = request ? kResultOk : kResultMissingArgument;
  return Change(soap, response, response.SetAccessPolicyResult, check, [&](NetworkState &network) {
    network.allowSections = request->allow;
    return kResultOk;
  });
}

int NetworkSoap12Service::GetWebProtocol(_ns1__GetWebProtocol *, _ns1__GetWebProtocolResponse &response) {
  auto *protocol = soap_new_ns1__WebProtocol_USCORET(soap);
  response.GetWebProtocolResult = protocol;
  return Read(soap, response, [&](const NetworkState &network) {
    protocol->enableHTTPS = network.https;
    protocol->port = network.webPort;
  });
}

int NetworkSoap12Service::SetWebProtocol(_ns1__SetWebProtocol *request, _ns1__SetWebProtocolResponse &response) {
  const ns1__WebProtocol_USCORET *protocol = request ? request->protocol : nullptr;
  const int check = !protocol ? kResultMissingArgument : IsPort(protocol->port) ? kResultOk : kResultPortOutOfRange;
  return Change(soap, response, response.SetWebProtocolResult, check, [&](NetworkState &network) {
    network.https = protocol->enableHTTPS;
    network.webPort = protocol->port;
    return kResultOk;
  });
}

// ---- network settings ----

int NetworkSoap12Service::GetARPPingUsage(_ns1__GetARPPingUsage *, _ns1__GetARPPingUsageResponse &response) {
  return Read(soap, response, [&](const NetworkState &network) { response.GetARPPingUsageResult = network.arpPing; });
}

int NetworkSoap12Service::SetARPPingUsage(_ns1__SetARPPingUsage *request, _ns1__SetARPPingUsageResponse &response) {
  const int check = request ? kResultOk : kResultMissingArgument;
  return Change(soap, response, response.SetARPPingUsageResult, check, [&](NetworkState &network) {
    network.arpPing = request->enable;
    return kResultOk;
  });
}

int NetworkSoap12Service::GetMacAddress(_ns1__GetMacAddress *, _ns1__GetMacAddressResponse &response) {
  return Read(soap, response,
              [&](const NetworkState &network) { response.GetMacAddressResult = Text(soap, network.macAddress); });
}

int NetworkSoap12Service::GetIPv4(_ns1__GetIPv4 *, _ns1__GetIPv4Response &response) {
  auto *ipv4 = soap_new_ns1__IPv4_USCORET(soap);
  response.GetIPv4Result = ipv4;
  return Read(soap, response, [&](const NetworkState &network) {
    ipv4->enableAuto = network.dhcp;
    ipv4->ipAddress = Text(soap, network.ipAddress);
    ipv4->subNetMask = Text(soap, network.subNetMask);
    ipv4->defaultGateway = Text(soap, network.defaultGateway);
  });
}

int NetworkSoap12Service::SetIPv4(_ns1__SetIPv4 *request, _ns1__SetIPv4Response &response) {
  const ns1__IPv4_USCORET *ipv4 = request ? request->ipv4 : nullptr;
  return Change(soap, response, response.SetIPv4Result, CheckIPv4(ipv4), [&](NetworkState &network) {
    network.dhcp = ipv4->enableAuto;
    StoreIfPresent(network.ipAddress, ipv4->ipAddress);
    StoreIfPresent(network.subNetMask, ipv4->subNetMask);
    StoreIfPresent(network.defaultGateway, ipv4->defaultGateway);
    return kResultOk;
  });
}

int NetworkSoap12Service::GetDNSServer(_ns1__GetDNSServer *, _ns1__GetDNSServerResponse &response) {
  auto *dns = soap_new_ns1__DNS_USCORET(soap);
  response.GetDNSServerResult = dns;
  return Read(soap, response, [&](const NetworkState &network) {
    dns->primaryDNS = Text(soap, network.primaryDNS);
    dns->secondaryDNS = Text(soap, network.secondaryDNS);
  });
}

int NetworkSoap12Service::SetDNSServer(_ns1__SetDNSServer *request, _ns1__SetDNSServerResponse &response) {
  const ns1__DNS_USCORET *dns = request ? request->dns : nullptr;
  const int check = !dns ? kResultMissingArgument
                    : IsIPv4OrEmpty(dns->primaryDNS) && IsIPv4OrEmpty(dns->secondaryDNS) ? kResultOk
                                                                                           : kResultNotIPv4Address;
  return Change(soap, response, response.SetDNSServerResult, check, [&](NetworkState &network) {
    StoreIfPresent(network.primaryDNS, dns->primaryDNS);
    StoreIfPresent(network.secondaryDNS, dns->secondaryDNS);
    return kResultOk;
  });
}

int NetworkSoap12Service::GetDDNSServer(_ns1__GetDDNSServer *, _ns1__GetDDNSServerResponse &response) {
  auto *ddns = soap_new_ns1__DDNS_USCORET(soap);
  response.GetDDNSServerResult = ddns;
  return Read(soap, response, [&](const NetworkState &network) {
    ddns->enable = network.ddnsEnabled;
    ddns->hostname = Text(soap, network.ddnsHostname);
  });
}

int NetworkSoap12Service::SetDDNSServer(_ns1__SetDDNSServer *request, _ns1__SetDDNSServerResponse &response) {
  const ns1__DDNS_USCORET *ddns = request ? request->dns : nullptr;
  return Change(soap, response, response.SetDDNSServerResult, CheckDDNS(ddns), [&](NetworkState &network) {
    network.ddnsEnabled = ddns->enable;
    StoreIfPresent(network.ddnsHostname, ddns->hostname);
    return kResultOk;
  });
}

int NetworkSoap12Service::RefreshDDNSServer(_ns1__RefreshDDNSServer *, _ns1__RefreshDDNSServerResponse &response) {
  return Change(soap, response, response.RefreshDDNSServerResult, kResultOk, [](NetworkState &network) {
    return network.ddnsEnabled ? kResultOk : kResultDDNSDisabled;
  });
}

int NetworkSoap12Service::GetTTL(_ns1__GetTTL *, _ns1__GetTTLResponse &response) {
  return Read(soap, response, [&](const NetworkState &network) { response.GetTTLResult = network.ttl; });
}

int NetworkSoap12Service::SetTTL(_ns1__SetTTL *request, _ns1__SetTTLResponse &response) {
  const int check = !request ? kResultMissingArgument
                    : request->ttl >= 1 && request->ttl <= 255 ? kResultOk
                                                               : kResultOutOfRange;
  return Change(soap, response, response.SetTTLResult, check, [&](NetworkState &network) {
    network.ttl = request->ttl;
    return kResultOk;
  });
}

int NetworkSoap12Service::GetRTSPPort(_ns1__GetRTSPPort *, _ns1__GetRTSPPortResponse &response) {
  return Read(soap, response, [&](const NetworkState &network) { response.GetRTSPPortResult = network.rtspPort; });
}

int NetworkSoap12Service::SetRTSPPort(_ns1__SetRTSPPort *request, _ns1__SetRTSPPortResponse &response) {
  const int check = !request ? kResultMissingArgument : IsPort(request->port) ? kResultOk : kResultPortOutOfRange;
  return Change(soap, response, response.SetRTSPPortResult, check, [&](NetworkState &network) {
    network.rtspPort = request->port;
    return kResultOk;
  });
}

int NetworkSoap12Service::GetRTPConfig(_ns1__GetRTPConfig *request, _ns1__GetRTPConfigResponse &response) {
  if (!request || DeviceState::ChannelIndex(request->channel) < 0) return Reply(soap, response, kResultUnknownChannel);
  auto *config = soap_new_ns1__RTPConfig_USCORET(soap);
  response.GetRTPConfigResult = config;
  return Read(soap, response, [&](const NetworkState &network) {
    const RtpSettings rtp = network.Rtp(request->channel, request->master);
    config->videoRTPPort = rtp.videoPort;
    config->audioRTPPort = rtp.audioPort;
    config->vaRTPPort = rtp.vaPort;
    config->enableMulticast = rtp.multicast;
    config->multicastIP = Text(soap, rtp.multicastIP);
  });
}

int NetworkSoap12Service::SetRTPConfig(_ns1__SetRTPConfig *request, _ns1__SetRTPConfigResponse &response) {
  const int check = request ? CheckRtp(request->channel, request->config) : kResultMissingArgument;
  return Change(soap, response, response.SetRTPConfigResult, check, [&](NetworkState &network) {
    const ns1__RTPConfig_USCORET &config = *request->config;
    RtpSettings rtp = network.Rtp(request->channel, request->master);
    rtp.videoPort = config.videoRTPPort;
    rtp.audioPort = config.audioRTPPort;
    rtp.vaPort = config.vaRTPPort;
    rtp.multicast = config.enableMulticast;
    StoreIfPresent(rtp.multicastIP, config.multicastIP);
    network.rtp[{request->channel, request->master}] = rtp;
    return kResultOk;
  });
}

// ---- operations the library does not export ----

int NetworkSoap12Service::GetWebServiceList(_ns1__GetWebServiceList *, _ns1__GetWebServiceListResponse &response) {
  auto *list = soap_new_ns1__ArrayOfString(soap);
  response.GetWebServiceListResult = list;
  return Read(soap, response, [&](const NetworkState &network) {
    for (const std::string &name : network.webServices) list->string.push_back(Text(soap, name));
  });
}

int NetworkSoap12Service::SetWebServiceList(_ns1__SetWebServiceList *request, _ns1__SetWebServiceListResponse &response) {
  const ns1__ArrayOfString *list = request ? request->webServices : nullptr;
  return Change(soap, response, response.SetWebServiceListResult, list ? kResultOk : kResultMissingArgument,
                [&](NetworkState &network) {
                  network.webServices.clear();
                  for (const char *name : list->string)
                    if (name) network.webServices.push_back(name);
                  return kResultOk;
                });
}

// No wireless interface: the lists are empty and everything else is refused.
int NetworkSoap12Service::GetAccessPointList(_ns1__GetAccessPointList *, _ns1__GetAccessPointListResponse &response) {
  response.GetAccessPointListResult = soap_new_ns1__ArrayOfAccessPoint_USCORET(soap);
  return Reply(soap, response, kResultOk);
}

int NetworkSoap12Service::GetWirelessConfigList(_ns1__GetWirelessConfigList *,
                                                _ns1__GetWirelessConfigListResponse &response) {
  response.GetWirelessConfigListResult = soap_new_ns1__ArrayOfWirelessConfig_USCORET(soap);
  return Reply(soap, response, kResultOk);
}

// Refuses Op: there is no wireless interface to act on.
#define WS_SIM_REFUSED_WITHOUT_WIRELESS(Op)                                    \
  int NetworkSoap12Service::Op(_ns1__##Op *, _ns1__##Op##Response &response) { \
    return Reply(soap, response, kResultNoWireless);                           \
  }

WS_SIM_REFUSED_WITHOUT_WIRELESS(RefreshAccessPointList)
WS_SIM_REFUSED_WITHOUT_WIRELESS(GetAccessPointInfo)
WS_SIM_REFUSED_WITHOUT_WIRELESS(GetWirelessConfig)
WS_SIM_REFUSED_WITHOUT_WIRELESS(AddWirelessConfig)
WS_SIM_REFUSED_WITHOUT_WIRELESS(UpdateWirelessConfig)
WS_SIM_REFUSED_WITHOUT_WIRELESS(RemoveWirelessConfig)
WS_SIM_REFUSED_WITHOUT_WIRELESS(GetWirelessIPv4)
WS_SIM_REFUSED_WITHOUT_WIRELESS(SetWirelessIPv4)
WS_SIM_REFUSED_WITHOUT_WIRELESS(ConnectAccessPoint)
WS_SIM_REFUSED_WITHOUT_WIRELESS(DisconnectAccessPoint)

WS_SIM_REGISTER_SERVICE(NetworkSoap12Service);
