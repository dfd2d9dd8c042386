// wsctl backup: every readable setting of one device as one JSON document.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "tools/json_input.h"
#include "tools/settings.h"

namespace wsctl {

namespace {

// Answers that are the device's state rather than its configuration: they
// change by themselves, so a backup leaves them out.
const char *const kNotSettings[] = {"GetDateTimeConfig", "GetSDInfo", "GetLoggedDateList", "GetUserCount",
                                    "GetSDRecordingFiles", "GetVersion", "GetBackupFilename", "GetReports"};

bool IsSetting(const Operation &op) {
  if (std::strncmp(op.name, "Get", 3) != 0) return false;
  for (const char *name : kNotSettings)
    if (std::strcmp(op.name, name) == 0) return false;
  return true;
}

// The requests that read every instance of a setting: the one request of a
// Get that takes none, one per channel, one per stream, or one per value of
// the enumeration that is its only field.  None for other request shapes
// (an item's name: the list that holds the item is read instead).
std::vector<nlohmann::json> RequestsOf(const Operation &op, const std::vector<int> &channels) {
  const RecordDesc &request = op.request();
  std::set<std::string> names;
  for (size_t i = 0; i < request.fieldCount; ++i) names.insert(request.fields[i].name);
  std::vector<nlohmann::json> requests;
  if (names.empty()) {
    requests.push_back(nlohmann::json::object());
  } else if (std::strcmp(request.name, "int32_t") == 0) {  // a bare channel number
    for (int channel : channels) requests.push_back({{"value", channel}});
  } else if (names == std::set<std::string>{"channel"}) {
    for (int channel : channels) requests.push_back({{"channel", channel}});
  } else if (names == std::set<std::string>{"channel", "master"}) {
    for (int channel : channels)
      for (bool master : {true, false}) requests.push_back({{"channel", channel}, {"master", master}});
  } else if (request.fieldCount == 1 && request.fields[0].enumeration) {
    const EnumDesc &values = *request.fields[0].enumeration;
    for (size_t v = 0; v < values.count; ++v) requests.push_back({{request.fields[0].name, values.values[v].symbol}});
  }
  return requests;
}

// The device's channels, from its channel list.
std::vector<int> Channels(Device &device, std::string *why) {
  const Operation *list = FindOperation("GetChannelList");
  nlohmann::json answer;
  std::vector<int> channels;
  if (!list || !ReadSetting(*list, device, nlohmann::json::object(), &answer, why)) return channels;
  const int count = answer.value("count", 0);
  for (int i = 0; i < count && i < static_cast<int>(answer["channel"].size()); ++i)
    channels.push_back(answer["channel"][i].get<int>());
  return channels;
}

std::string UtcNow() {
  char text[32];
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

}  // namespace

bool ReadSetting(const Operation &op, Device &device, const nlohmann::json &request, nlohmann::json *answer,
                 std::string *why) {
  RecordBuffer record(op.request().size);
  *why = FillRequest(op, record, request);
  if (!why->empty()) return false;
  Outcome outcome = Call(op, device, record.data());
  if (!outcome.ok()) {
    *why = outcome.Why();
    return false;
  }
  outcome.response.erase("resultCode");
  *answer = std::move(outcome.response);
  return true;
}

nlohmann::json AddressOf(const Operation &get, const nlohmann::json &request) {
  if (std::strcmp(get.request().name, "int32_t") == 0 && request.contains("value"))
    return {{"channel", request["value"]}};
  return request;
}

int Problem(const char *command, const std::string &message, int code) {
  std::fprintf(stderr, "wsctl %s: %s\n", command, message.c_str());
  return code;
}

std::set<std::string> Included(int argc, char **argv, std::vector<std::string> *rest) {
  std::set<std::string> names;
  for (int at = 0; at < argc; ++at) {
    if (std::strcmp(argv[at], "--include") == 0 && at + 1 < argc) names.insert(argv[++at]);
    else rest->push_back(argv[at]);
  }
  return names;
}

int BackupCommand(int argc, char **argv, Device device) {
  std::vector<std::string> rest;
  Included(argc, argv, &rest);
  if (!rest.empty()) return Problem("backup", "unexpected argument " + rest.front(), kUsageError);
  std::string why;
  nlohmann::json identity;
  const Operation *information = FindOperation("GetDeviceInformation");
  if (!information || !ReadSetting(*information, device, nlohmann::json::object(), &identity, &why))
    return Problem("backup", device.Name() + ": " + why);
  const std::vector<int> channels = Channels(device, &why);

  nlohmann::json settings = nlohmann::json::array();
  size_t count, missed = 0;
  const Operation *operations = Operations(&count);
  for (size_t i = 0; i < count; ++i) {
    const Operation &op = operations[i];
    if (!IsSetting(op)) continue;
    for (const nlohmann::json &fields : RequestsOf(op, channels)) {
      nlohmann::json answer;
      if (!ReadSetting(op, device, fields, &answer, &why)) {
        ++missed;
        std::fprintf(stderr, "wsctl backup: %s %s not read: %s\n", op.name, fields.dump().c_str(), why.c_str());
        continue;
      }
      settings.push_back({{"operation", op.name}, {"request", fields}, {"response", std::move(answer)}});
    }
  }
  const nlohmann::json document = {{"format", kBackupFormat},
                                   {"device", device.Name()},
                                   {"identity", identity},
                                   {"time", UtcNow()},
                                   {"settings", settings}};
  std::printf("%s\n", wsjson::Print(document, 1).c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "wsctl backup: %zu settings read, %zu not read\n", settings.size(), missed);
  return 0;
}

}  // namespace wsctl
