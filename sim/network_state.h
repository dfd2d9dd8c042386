// The simulated device's Network settings.  They are state only: no interface
// of the machine running the simulator is touched.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "soapStub.h"

namespace sim {

// One named range of addresses that the access policy allows or denies.
struct IPSection {
  std::string alias;
  std::string fromAddress;
  std::string toAddress;
};

// RTP ports and multicast settings of one stream.
struct RtpSettings {
  int videoPort = 0;
  int audioPort = 0;
  int vaPort = 0;
  bool multicast = false;
  std::string multicastIP;
};

// Copyable: a configuration snapshot copies it whole.
struct NetworkState {
  bool dhcp = false;
  std::string ipAddress = "192.168.1.100";
  std::string subNetMask = "255.255.255.0";
  std::string defaultGateway = "192.168.1.1";

  std::string primaryDNS = "192.168.1.1";
  std::string secondaryDNS;

  bool ddnsEnabled = false;
  std::string ddnsHostname;

  // Locally administered and never changed.
  std::string macAddress = "02:00:5E:10:00:01";
  int ttl = 64;
  int rtspPort = 554;
  bool arpPing = true;

  // Per (channel, master); a stream not yet set reports its defaults.
  std::map<std::pair<int, bool>, RtpSettings> rtp;

  std::vector<IPSection> sections;
  bool allowSections = true;  // the access policy: the sections are allowed (else denied)

  bool https = false;
  int webPort = 80;

  std::vector<std::string> webServices = {"Account", "AudioVideo", "BasicSystem", "Network", "EventSchedule",
                                          "PTZ", "VideoAnalysis", "Utility", "Factory"};

  // The settings of one stream: stored ones, else ports derived from the
  // channel (20 apart per channel, 10 between master and second stream).
  RtpSettings Rtp(int channel, bool master) const {
    auto found = rtp.find({channel, master});
    if (found != rtp.end()) return found->second;
    RtpSettings settings;
    settings.videoPort = 5000 + 20 * (channel - 1) + (master ? 0 : 10);
    settings.audioPort = settings.videoPort + 2;
    settings.vaPort = settings.videoPort + 4;
    settings.multicastIP = "239.0.0." + std::to_string(channel);
    return settings;
  }
};

}  // namespace sim
