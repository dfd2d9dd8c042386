// wsctl backup and restore: every readable setting of one device as one JSON
// document, and back.
//
// A setting is what a Get operation answers when it takes no request, or a
// channel or a stream of the device; it is written back with the Set
// operation of the same name, its request filled from the fields of the same
// names in the Get's request and answer.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iterator>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "tools/session.h"

namespace wsctl {

namespace {

constexpr int kFormat = 1;

// Answers that are the device's state rather than its configuration: they
// change by themselves, so a backup leaves them out.
const char *const kNotSettings[] = {"GetDateTimeConfig", "GetSDInfo", "GetLoggedDateList", "GetUserCount",
                                    "GetSDRecordingFiles", "GetVersion", "GetBackupFilename", "GetReports"};
// Settings that belong to one device and must not reach another: restored
// only when named by --include.
const char *const kDeviceOwn[] = {"IPv4", "MacAddress", "Serial"};

bool Among(const char *name, const char *const *names, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (std::strcmp(name, names[i]) == 0) return true;
  return false;
}

// The request shapes a backup knows how to fill: none, a channel, a stream.
enum class Address { kNone, kChannel, kStream, kOther };

Address AddressOf(const RecordDesc &request) {
  if (request.fieldCount == 0) return Address::kNone;
  bool channel = false, master = false;
  for (size_t i = 0; i < request.fieldCount; ++i) {
    const std::string name = request.fields[i].name;
    if (name == "channel") channel = true;
    else if (name == "master") master = true;
    else if (name != "prefix") return Address::kOther;
  }
  return master && channel ? Address::kStream : channel ? Address::kChannel : master ? Address::kOther : Address::kNone;
}

const Operation *SetterOf(const Operation &get) {
  if (std::strncmp(get.name, "Get", 3) != 0) return nullptr;
  const Operation *set = FindOperation(("Set" + std::string(get.name + 3)).c_str());
  return set && std::strncmp(set->name, "Set", 3) == 0 ? set : nullptr;
}

int Problem(const char *command, const std::string &message, int code = 1) {
  std::fprintf(stderr, "wsctl %s: %s\n", command, message.c_str());
  return code;
}

// Reads one setting: true with the answer, false when the device did not give it.
bool ReadSetting(const Operation &op, Device &device, const nlohmann::json &fields, nlohmann::json *answer,
                 std::string *why) {
  RecordBuffer request(op.request().size);
  *why = FillRequest(op, request, fields);
  if (!why->empty()) return false;
  Outcome outcome = Call(op, device, request.data());
  if (!outcome.ok()) {
    *why = outcome.words;
    return false;
  }
  outcome.response.erase("resultCode");
  *answer = std::move(outcome.response);
  return true;
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

// The request of the Set that writes a setting back: each of its fields
// from the field of the same name in the Get's request or answer (the answer
// looked into when it is one record of other names).  What is left pairs up
// when one field of each side remains, or when the one field left is a
// record that the rest of the answer fills.  False when fields stay unfilled.
bool SetRequestOf(const Operation &set, const nlohmann::json &address, const nlohmann::json &answer,
                  nlohmann::json *request) {
  const RecordDesc &desc = set.request();
  auto named = [&desc](const std::string &name) {
    for (size_t i = 0; i < desc.fieldCount; ++i)
      if (name == desc.fields[i].name) return &desc.fields[i];
    return static_cast<const Field *>(nullptr);
  };
  nlohmann::json source = answer;
  if (source.size() == 1 && source.begin()->is_object() && !named(source.begin().key()))
    source = nlohmann::json(*source.begin());
  *request = nlohmann::json::object();
  std::vector<const Field *> unfilled;
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const std::string name = desc.fields[i].name;
    if (address.contains(name)) (*request)[name] = address[name];
    else if (source.contains(name)) (*request)[name] = source[name], source.erase(name);
    else if (name != "prefix") unfilled.push_back(&desc.fields[i]);
  }
  if (unfilled.empty()) return true;
  if (unfilled.size() != 1 || source.empty()) return false;
  if (source.size() == 1) (*request)[unfilled[0]->name] = *source.begin();
  else if (unfilled[0]->kind == Kind::Record) (*request)[unfilled[0]->name] = source;
  else return false;
  return true;
}

// The names given by --include; the other arguments go to rest.
std::set<std::string> Included(int argc, char **argv, int *at, std::vector<std::string> *rest) {
  std::set<std::string> names;
  for (; *at < argc; ++*at) {
    if (std::strcmp(argv[*at], "--include") == 0 && *at + 1 < argc) names.insert(argv[++*at]);
    else rest->push_back(argv[*at]);
  }
  return names;
}

}  // namespace

int BackupCommand(int argc, char **argv, Device device) {
  int at = 0;
  std::vector<std::string> rest;
  Included(argc, argv, &at, &rest);
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
    if (std::strncmp(op.name, "Get", 3) != 0 || Among(op.name, kNotSettings, std::size(kNotSettings))) continue;
    std::vector<nlohmann::json> requests;
    switch (AddressOf(op.request())) {
      case Address::kNone: requests.push_back(nlohmann::json::object()); break;
      case Address::kChannel:
        for (int channel : channels) requests.push_back({{"channel", channel}});
        break;
      case Address::kStream:
        for (int channel : channels)
          for (bool master : {true, false}) requests.push_back({{"channel", channel}, {"master", master}});
        break;
      case Address::kOther: break;
    }
    for (const nlohmann::json &fields : requests) {
      nlohmann::json answer;
      if (!ReadSetting(op, device, fields, &answer, &why)) {
        ++missed;
        std::fprintf(stderr, "wsctl backup: %s %s not read: %s\n", op.name, fields.dump().c_str(), why.c_str());
        continue;
      }
      settings.push_back({{"operation", op.name}, {"request", fields}, {"response", std::move(answer)}});
    }
  }
  const nlohmann::json document = {{"format", kFormat},
                                   {"device", device.Name()},
                                   {"identity", identity},
                                   {"time", UtcNow()},
                                   {"settings", settings}};
  std::printf("%s\n", document.dump(1).c_str());
  std::fflush(stdout);
  std::fprintf(stderr, "wsctl backup: %zu settings read, %zu not read\n", settings.size(), missed);
  return 0;
}

// Settings kept as lists of named items, written back item by item: an item
// the device lacks is added, one that differs is updated (where the device
// can update one).  Items the device has beyond the backup stay.
struct ListSetting {
  const char *list;    // the Get that reads the whole list
  const char *key;     // the member that names an item
  const char *add, *update;  // update may be null
  const char *field;   // the request member that holds one item
};
const ListSetting kListSettings[] = {
    {"GetUserList", "userID", "AddUser", "UpdateUser", "user"},
    {"GetIPSectionList", "alias", "AddIPSection", nullptr, "section"},
};

const ListSetting *ListSettingOf(const char *get) {
  for (const ListSetting &list : kListSettings)
    if (std::strcmp(list.list, get) == 0) return &list;
  return nullptr;
}

// What a restore did, counted and listed as it goes.
struct RestoreReport {
  bool dryRun = false, keepGoing = false, stopped = false;
  size_t changed = 0, unchanged = 0, refused = 0, skipped = 0;

  void Print(nlohmann::json &line, const std::string &action) {
    line["action"] = action;
    std::printf("%s\n", line.dump().c_str());
  }
  void Failed(nlohmann::json &line, const std::string &action, const std::string &why) {
    line["error"] = why;
    Print(line, action);
    ++refused;
    stopped = !keepGoing;
  }
  // Writes request with op unless dry; reports the change under action.
  void Write(const Operation &op, Device &device, const nlohmann::json &fields, nlohmann::json &line,
             const char *action, const char *wouldAction) {
    ++changed;
    if (dryRun) return Print(line, wouldAction);
    RecordBuffer request(op.request().size);
    const std::string why = FillRequest(op, request, fields);
    const Outcome outcome = why.empty() ? Call(op, device, request.data()) : Outcome{};
    if (!why.empty() || !outcome.ok()) {
      --changed;
      return Failed(line, "refused", why.empty() ? outcome.words : why);
    }
    Print(line, action);
  }
};

void RestoreList(const ListSetting &list, const Operation &get, Device &device, const nlohmann::json &saved,
                 RestoreReport &report) {
  const std::string name = list.add + 3;  // the item's name: "User" of AddUser
  nlohmann::json current, line = {{"setting", name}};
  std::string why;
  if (!ReadSetting(get, device, nlohmann::json::object(), &current, &why)) return report.Failed(line, "not read", why);
  const nlohmann::json present = current.value("items", nlohmann::json::array());
  for (const nlohmann::json &item : saved.value("items", nlohmann::json::array())) {
    if (report.stopped) break;
    const std::string key = item.value(list.key, "");
    line = {{"setting", name}, {list.key, key}};
    const nlohmann::json *found = nullptr;
    for (const nlohmann::json &candidate : present)
      if (candidate.value(list.key, "") == key) found = &candidate;
    if (found && *found == item) {
      ++report.unchanged;
      continue;
    }
    const Operation *op = FindOperation(found ? (list.update ? list.update : "") : list.add);
    if (!op) {
      ++report.skipped;
      report.Print(line, "skipped (the device cannot update it)");
      continue;
    }
    if (found) line["from"] = *found;
    line["to"] = item;
    report.Write(*op, device, {{list.field, item}}, line, found ? "changed" : "added", found ? "would change" : "would add");
  }
}

int RestoreCommand(int argc, char **argv, Device device) {
  int at = 0;
  std::vector<std::string> rest;
  const std::set<std::string> included = Included(argc, argv, &at, &rest);
  bool dryRun = false, keepGoing = false;
  std::string fileName;
  for (const std::string &arg : rest) {
    if (arg == "--dry-run") dryRun = true;
    else if (arg == "--keep-going") keepGoing = true;
    else if (fileName.empty() && arg.compare(0, 2, "--") != 0) fileName = arg;
    else return Problem("restore", "unexpected argument " + arg, kUsageError);
  }
  if (fileName.empty()) return Problem("restore", "usage: wsctl restore FILE [--dry-run] [--keep-going]", kUsageError);
  std::ifstream in(fileName, std::ios::binary);
  const nlohmann::json document = in ? nlohmann::json::parse(in, nullptr, false) : nlohmann::json();
  if (document.is_discarded() || !document.is_object() || document.value("format", 0) != kFormat ||
      !document.contains("settings") || !document["settings"].is_array())
    return Problem("restore", fileName + " is not a backup of format " + std::to_string(kFormat), kUsageError);

  RestoreReport report;
  report.dryRun = dryRun;
  report.keepGoing = keepGoing;
  for (const nlohmann::json &entry : document["settings"]) {
    const Operation *get = FindOperation(entry.value("operation", "").c_str());
    const ListSetting *list = get ? ListSettingOf(get->name) : nullptr;
    const Operation *set = get ? SetterOf(*get) : nullptr;
    if (!set && !list) continue;  // read-only: nothing to write back
    const std::string name = get->name + 3;
    const nlohmann::json fields = entry.value("request", nlohmann::json::object());
    const nlohmann::json saved = entry.value("response", nlohmann::json::object());
    nlohmann::json line = {{"setting", name}, {"request", fields}};
    if (report.stopped) {
      report.Print(line, "not applied");
      ++report.skipped;
      continue;
    }
    if (list) {
      RestoreList(*list, *get, device, saved, report);
      continue;
    }
    if (Among(name.c_str(), kDeviceOwn, std::size(kDeviceOwn)) && !included.count(name)) {
      report.Print(line, "left out (this device's own; --include " + name + " restores it)");
      ++report.skipped;
      continue;
    }
    nlohmann::json wanted;
    if (!SetRequestOf(*set, fields, saved, &wanted)) {
      report.Print(line, "skipped (no way to write it back)");
      ++report.skipped;
      continue;
    }
    std::string why;
    nlohmann::json current;
    if (!ReadSetting(*get, device, fields, &current, &why)) {
      report.Failed(line, "not read", why);
      continue;
    }
    if (current == saved) {  // counted, not listed
      ++report.unchanged;
      continue;
    }
    line["from"] = current;
    line["to"] = saved;
    report.Write(*set, device, wanted, line, "changed", "would change");
  }
  std::fflush(stdout);  // the settings before the summary, where both reach one terminal
  std::fprintf(stderr, "wsctl restore: %zu %s, %zu unchanged, %zu failed, %zu not applied%s\n", report.changed,
               dryRun ? "would change" : "changed", report.unchanged, report.refused, report.skipped,
               report.stopped ? " (stopped at the first failure; --keep-going goes on)" : "");
  return report.refused ? 1 : 0;
}

}  // namespace wsctl
