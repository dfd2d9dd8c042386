// The Network service: what its exports send and how they read answers
// (against the scripted fake device), and every export end to end against the
// device simulator.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "service_test.h"
#include "webservice/WebService.h"

namespace {

template <size_t N>
void SetText(char (&field)[N], const std::string &text) {
  std::snprintf(field, N, "%s", text.c_str());
}

using NetworkWire = ServiceWire;

// Any nonzero byte of the caller's boolean goes out as true (the golden
// exchanges hold the requests field by field, and the list rules and copy
// rules of the answers).
TEST_F(NetworkWire, AnyNonzeroByteIsTrue) {
  CallResult result = Pattern<CallResult>();
  BoolRequestRecord arp = Pattern<BoolRequestRecord>();
  std::memset(&arp.value, 2, 1);
  AnswerFrom("SetARPPingUsage");
  ASSERT_EQ(0, Call(DLL_WebServiceSetARPPingUsage, &arp, &result));
  EXPECT_NE(std::string::npos, LastBody().find("<ns1:enable>true</ns1:enable>"));
}

// ---- end to end against the simulator ----

using NetworkSim = ServiceSim;

IntRequestRecord IntRequest(int32_t value) {
  IntRequestRecord request{};
  request.value = value;
  return request;
}

BoolRequestRecord BoolRequest(bool value) {
  BoolRequestRecord request{};
  request.value = value;
  return request;
}

TEST_F(NetworkSim, EverySettingSetThenGet) {
  IPv4RequestRecord ipv4{};
  ipv4.ipv4 = {false, "10.20.30.40", "255.255.0.0", "10.20.0.1"};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetIPv4, ipv4));
  IPv4ResponseRecord gotIPv4 = Get(DLL_WebServiceGetIPv4);
  EXPECT_FALSE(gotIPv4.ipv4.enableAuto);
  EXPECT_STREQ("10.20.30.40", gotIPv4.ipv4.ipAddress);
  EXPECT_STREQ("255.255.0.0", gotIPv4.ipv4.subNetMask);
  EXPECT_STREQ("10.20.0.1", gotIPv4.ipv4.defaultGateway);

  DNSRequestRecord dns{};
  dns.dns = {"10.20.0.53", ""};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetDNSServer, dns));
  DNSResponseRecord gotDns = Get(DLL_WebServiceGetDNSServer);
  EXPECT_STREQ("10.20.0.53", gotDns.dns.primaryDNS);
  EXPECT_STREQ("", gotDns.dns.secondaryDNS);

  DDNSRequestRecord ddns{};
  ddns.ddns.enable = true;
  SetText(ddns.ddns.hostname, "camera.example.net");
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetDDNSServer, ddns));
  DDNSResponseRecord gotDdns = Get(DLL_WebServiceGetDDNSServer);
  EXPECT_TRUE(gotDdns.ddns.enable);
  EXPECT_STREQ("camera.example.net", gotDdns.ddns.hostname);

  EXPECT_EQ(0, Verdict(DLL_WebServiceSetTTL, IntRequest(32)));
  EXPECT_EQ(32, Get(DLL_WebServiceGetTTL).value);
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetRTSPPort, IntRequest(8554)));
  EXPECT_EQ(8554, Get(DLL_WebServiceGetRTSPPort).value);
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetARPPingUsage, BoolRequest(false)));
  EXPECT_FALSE(Get(DLL_WebServiceGetARPPingUsage).value);

  WebProtocolRequestRecord web{};
  web.protocol = {true, 8443};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetWebProtocol, web));
  WebProtocolResponseRecord gotWeb = Get(DLL_WebServiceGetWebProtocol);
  EXPECT_TRUE(gotWeb.protocol.enableHTTPS);
  EXPECT_EQ(8443, gotWeb.protocol.port);

  // Each stream keeps its own RTP settings.
  RTPConfigRequestRecord rtp{};
  rtp.channel = 2;
  rtp.master = false;
  rtp.config = {7000, 7002, 7004, true, "239.5.5.5"};
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetRTPConfig, rtp));
  StreamRecord stream{};
  stream.channel = 2;
  stream.master = false;
  RTPConfigResponseRecord gotRtp = Get(DLL_WebServiceGetRTPConfig, stream);
  EXPECT_EQ(7000, gotRtp.config.videoRTPPort);
  EXPECT_EQ(7002, gotRtp.config.audioRTPPort);
  EXPECT_EQ(7004, gotRtp.config.vaRTPPort);
  EXPECT_TRUE(gotRtp.config.enableMulticast);
  EXPECT_STREQ("239.5.5.5", gotRtp.config.multicastIP);
  stream.master = true;
  EXPECT_NE(7000, Get(DLL_WebServiceGetRTPConfig, stream).config.videoRTPPort);

  MacAddressRecord mac = Get(DLL_WebServiceGetMacAddress);
  EXPECT_EQ(17u, std::strlen(mac.macAddress));
  EXPECT_EQ(0, mac.resultCode);
}

TEST_F(NetworkSim, RefusesWhatADeviceWould) {
  IPv4ResponseRecord before = Get(DLL_WebServiceGetIPv4);
  for (const char *address : {"10.0.0", "10.0.0.256", "10.0.0.1.", "010.0.0.1", "host.example", "10.0.0.1 "}) {
    SCOPED_TRACE(address);
    IPv4RequestRecord ipv4{};
    ipv4.ipv4 = {false, "", "255.255.255.0", ""};
    SetText(ipv4.ipv4.ipAddress, address);
    EXPECT_NE(0, Verdict(DLL_WebServiceSetIPv4, ipv4));
  }
  IPv4ResponseRecord after = Get(DLL_WebServiceGetIPv4);
  EXPECT_EQ(0, std::memcmp(&before, &after, sizeof before));

  for (int port : {0, -1, 65536}) {
    SCOPED_TRACE(port);
    EXPECT_NE(0, Verdict(DLL_WebServiceSetRTSPPort, IntRequest(port)));
    WebProtocolRequestRecord web{};
    web.protocol = {false, port};
    EXPECT_NE(0, Verdict(DLL_WebServiceSetWebProtocol, web));
    RTPConfigRequestRecord rtp{};
    rtp.channel = 1;
    rtp.config = {5000, port, 5004, false, ""};
    EXPECT_NE(0, Verdict(DLL_WebServiceSetRTPConfig, rtp));
  }
  EXPECT_EQ(554, Get(DLL_WebServiceGetRTSPPort).value);
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetRTSPPort, IntRequest(65535)));

  EXPECT_NE(0, Verdict(DLL_WebServiceSetTTL, IntRequest(0)));
  DNSRequestRecord dns{};
  dns.dns = {"10.0.0.1", "dns.example"};
  EXPECT_NE(0, Verdict(DLL_WebServiceSetDNSServer, dns));
  RTPConfigRequestRecord unknownChannel{};
  unknownChannel.channel = 99;
  unknownChannel.config = {5000, 5002, 5004, false, ""};
  EXPECT_NE(0, Verdict(DLL_WebServiceSetRTPConfig, unknownChannel));
}

TEST_F(NetworkSim, AccessSectionScenario) {
  auto section = [](const char *alias, const char *from, const char *to) {
    IPSectionRequestRecord request{};
    SetText(request.section.alias, alias);
    SetText(request.section.fromAddress, from);
    SetText(request.section.toAddress, to);
    return request;
  };
  auto list = [&] {
    IPSectionListRecord list{0, nullptr, -1};
    EXPECT_EQ(0, Call(DLL_WebServiceGetIPSectionList, &kAnyRequest, &list));
    EXPECT_EQ(0, list.resultCode);
    std::string names;
    for (int i = 0; i < list.count; ++i) names += std::string(list.items[i].alias) + ";";
    WebService_FreeItems(list.items);
    return names;
  };

  EXPECT_EQ(0, Verdict(DLL_WebServiceAddIPSection, section("office", "192.168.10.1", "192.168.10.99")));
  EXPECT_EQ(0, Verdict(DLL_WebServiceAddIPSection, section("lab", "10.9.0.0", "10.9.255.255")));
  EXPECT_EQ("office;lab;", list());

  // A duplicate alias, a bad address and a reversed range are refused.
  EXPECT_NE(0, Verdict(DLL_WebServiceAddIPSection, section("office", "192.168.20.1", "192.168.20.9")));
  EXPECT_NE(0, Verdict(DLL_WebServiceAddIPSection, section("wan", "192.168.20.1", "192.168.20")));
  EXPECT_NE(0, Verdict(DLL_WebServiceAddIPSection, section("wan", "192.168.20.9", "192.168.20.1")));
  EXPECT_EQ("office;lab;", list());

  const TextRequest office("office");
  IPSectionResponseRecord got = Get(DLL_WebServiceGetIPSection, office.get());
  EXPECT_EQ(0, got.resultCode);
  EXPECT_STREQ("192.168.10.1", got.section.fromAddress);
  EXPECT_STREQ("192.168.10.99", got.section.toAddress);

  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveIPSection, office.get()));
  EXPECT_NE(0, Verdict(DLL_WebServiceRemoveIPSection, office.get()));
  EXPECT_NE(0, Get(DLL_WebServiceGetIPSection, office.get()).resultCode);
  EXPECT_EQ("lab;", list());
  EXPECT_EQ(0, Verdict(DLL_WebServiceRemoveAllIPSection, kAnyRequest));
  EXPECT_EQ("", list());

  EXPECT_TRUE(Get(DLL_WebServiceGetAccessPolicy).value);
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetAccessPolicy, BoolRequest(false)));
  EXPECT_FALSE(Get(DLL_WebServiceGetAccessPolicy).value);
  EXPECT_EQ(0, Verdict(DLL_WebServiceSetAccessPolicy, BoolRequest(true)));
  EXPECT_TRUE(Get(DLL_WebServiceGetAccessPolicy).value);
}

}  // namespace
