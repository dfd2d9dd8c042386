// wsctl fleet's inventory: the devices to call, one a line or as a JSON array.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <tuple>

#include "tools/json_input.h"
#include "tools/session.h"

namespace wsctl {

namespace {

// Why host cannot name a device, "" when it can: a host is one word of
// UTF-8 without control bytes (the library checks the rest before a call).
std::string HostProblem(const std::string &host) {
  if (host.empty()) return "no host";
  for (const char c : host)
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) return "the host holds a space or a control character";
  return wsjson::IsUtf8(host) ? "" : "the host is not UTF-8";
}

const char *const kMembers[] = {"host", "port", "kind", "https", "user", "password"};

// One entry of a JSON inventory into device; "" or what is wrong with it,
// naming members but never showing a credential.
std::string ReadEntry(const nlohmann::json &entry, Device &device) {
  if (!entry.is_object()) return "is not an object";
  for (const auto &member : entry.items())
    if (std::find(std::begin(kMembers), std::end(kMembers), member.key()) == std::end(kMembers))
      return "has an unknown member '" + member.key() + "' (members: host, port, kind, https, user, password)";
  const auto host = entry.find("host");
  if (host == entry.end() || !host->is_string()) return "has no host text";
  device.host = host->get<std::string>();
  if (std::string why = HostProblem(device.host); !why.empty()) return why;
  long long number = 0;
  for (const auto &[name, low, high, into] : {std::make_tuple("port", 1, 65535, &device.conn.port),
                                              std::make_tuple("kind", 0, 2, &device.conn.endpointKind)}) {
    if (!entry.contains(name)) continue;
    if (std::string why = wsjson::Integer(entry[name], low, high, &number); !why.empty()) return name + (": " + why);
    *into = static_cast<int32_t>(number);
  }
  if (entry.contains("https")) {
    if (!entry["https"].is_boolean()) return "https: not true or false";
    device.conn.useHttps = entry["https"].get<bool>() ? 1 : 0;
  }
  if (!entry.contains("user") && !entry.contains("password")) return "";
  device.credentials = true;
  for (const auto &[name, into] : {std::make_pair("user", &device.user), std::make_pair("password", &device.password)}) {
    const nlohmann::json &value = entry.contains(name) ? entry[name] : nlohmann::json("");
    if (!value.is_string()) return name + std::string(": not a text");
    *into = value.get<std::string>();
  }
  return "";
}

std::string ReadJsonInventory(const std::string &text, const Device &defaults, std::vector<Device> &devices) {
  nlohmann::json list;
  if (std::string why = wsjson::Parse(text, &list); !why.empty()) return "the inventory: " + why;
  if (!list.is_array()) return "the inventory is not a JSON array";
  for (size_t i = 0; i < list.size(); ++i) {
    Device device = defaults;
    device.host.clear();  // named in the error only when the entry's own host is sound
    const std::string why = ReadEntry(list[i], device);
    if (!why.empty())
      return "inventory entry " + std::to_string(i + 1) + " of " + std::to_string(list.size()) +
             (HostProblem(device.host).empty() ? " (host " + device.host + ")" : "") + ": " + why;
    devices.push_back(device);
  }
  return "";
}

}  // namespace

std::string ReadInventory(const std::string &text, const Device &defaults, std::vector<Device> &devices) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string::npos && text[first] == '[') return ReadJsonInventory(text, defaults, devices);
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string address, word;
    if (!(words >> address)) continue;
    Device device = defaults;
    const size_t colon = address.rfind(':');
    device.host = address.substr(0, colon);
    if (colon != std::string::npos) {
      char *end = nullptr;
      const long port = std::strtol(address.c_str() + colon + 1, &end, 10);
      if (*end || port < 1 || port > 65535) return "inventory line " + std::to_string(number) + ": bad port";
      device.conn.port = static_cast<int32_t>(port);
    }
    while (words >> word) {
      if (word == "https") device.conn.useHttps = 1;
      else if (word == "0" || word == "1" || word == "2") device.conn.endpointKind = word[0] - '0';
      else return "inventory line " + std::to_string(number) + ": unknown word '" + wsjson::Utf8(word) + "'";
    }
    if (std::string why = HostProblem(device.host); !why.empty())
      return "inventory line " + std::to_string(number) + ": " + why;
    devices.push_back(device);
  }
  return "";
}

}  // namespace wsctl
