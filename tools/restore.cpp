// wsctl restore: writes a backup document back to a device, setting by
// setting, where the device differs from it.
//
// A restore first reads the device and plans every write, then makes them:
// settings and items in the order of the document (which is the order of the
// operation tables: lists before the settings that name their items,
// schedules before their allocation), then the removal of items the backup
// lacks, in the reverse order (an allocation released before its schedule
// goes, a server named by a setting freed by that setting's write).
//
// With --merge the document names only what it sets: a setting's answer is
// laid over the device's, member by member, a list's items over the device's
// items of the same name, and the items it lacks are kept.  That is the
// desired state of a configuration engine, a part of a backup.
//
// Every request is converted into the record the library sends while
// planning, so a value the record cannot hold (a text too long for its field,
// a number outside its enumeration) is refused before anything is written.
// Each write carries the write that takes it back, made from the reading of
// the device: when the device refuses a write, the writes already made are
// undone, newest first, and the device is left as it was.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/secrets.h"
#include "tools/json_input.h"
#include "tools/settings.h"

namespace wsctl {

namespace {

using nlohmann::json;

// Settings that belong to one device and must not reach another: restored
// only when named by --include.
const char *const kDeviceOwn[] = {"IPv4", "MacAddress", "Serial"};

// One operation of a list setting and its request, as JSON in which "@item"
// stands for the saved item and "@key" for its name.  The Get's address
// (channel, stream) joins every request that has fields of those names.
struct ListWrite {
  const char *operation = nullptr;  // null: the device has no such operation
  const char *request = nullptr;
};

// A setting kept as a list of named items, written back item by item: an
// item the device lacks is added, one that differs is updated (or removed and
// added again where the device cannot update one), one the backup lacks is
// removed.  A list whose add names the item without "@item" compares names
// only (an allocation: the schedule's own content is its list's business).
struct ListSetting {
  const char *list;   // the Get that reads the list
  const char *items;  // the answer's member that holds the items
  const char *key;    // the member that names an item; null: the item is its name
  ListWrite add, update, remove;
};

const ListSetting kListSettings[] = {
    {"GetUserList", "items", "userID", {"AddUser", R"({"user":"@item"})"}, {"UpdateUser", R"({"user":"@item"})"},
     {"RemoveUser", R"({"user":{"userID":"@key"}})"}},
    {"GetRecordingServerList", "items", "alias", {"AddRecordingServer", R"("@item")"},
     {"UpdateRecordingServer", R"({"prevAlias":"@key","server":"@item"})"}, {"RemoveRecordingServer", R"({"text":"@key"})"}},
    {"GetIPSectionList", "items", "alias", {"AddIPSection", R"({"section":"@item"})"}, {},
     {"RemoveIPSection", R"({"text":"@key"})"}},
    {"GetRecordingScheduleList", "items", "scheduleID", {"AddRecordingSchedule", R"({"schedule":"@item"})"},
     {"UpdateRecordingSchedule", R"({"schedule":"@item"})"}, {"RemoveRecordingSchedule", R"({"scheduleID":"@key"})"}},
    {"GetAllocatedRecordingScheduleByStream", "items", "scheduleID",
     {"AllocateRecordingSchedule", R"({"scheduleID":"@key"})"}, {},
     {"DeallocateRecordingSchedule", R"({"scheduleID":"@key"})"}},
    {"GetEventScheduleList", "items", "eventSource", {}, {"SetEventSchedule", R"({"schedule":"@item"})"}, {}},
    {"GetFTPServerList", "items", "alias", {"AddFTPServer", R"({"server":"@item"})"},
     {"UpdateFTPServer", R"({"prevAlias":"@key","server":"@item"})"}, {"RemoveFTPServer", R"({"alias":"@key"})"}},
    {"GetSMTPServerList", "items", "alias", {"AddSMTPServer", R"({"server":"@item"})"},
     {"UpdateSMTPServer", R"({"prevAlias":"@key","server":"@item"})"}, {"RemoveSMTPServer", R"({"alias":"@key"})"}},
    {"GetPTZProtocolList", "names", nullptr, {"AddPTZProtocol", R"({"text":"@key"})"}, {},
     {"RemovePTZProtocol", R"({"text":"@key"})"}},
    {"GetPresetList", "items", "alias", {"AddPreset", R"({"preset":"@item"})"}, {},
     {"RemovePreset", R"({"text":"@key"})"}},
    {"GetDetectionWindowList", "items", "sequence", {"AddDetectionWindow", R"({"window":"@item"})"},
     {"UpdateDetectionWindow", R"({"window":"@item"})"}, {"RemoveDetectionWindow", R"({"sequence":"@key"})"}},
};

const ListSetting *ListSettingOf(const char *get) {
  for (const ListSetting &list : kListSettings)
    if (std::strcmp(list.list, get) == 0) return &list;
  return nullptr;
}

bool Among(const std::string &name, const char *const *names, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (name == names[i]) return true;
  return false;
}

const Operation *SetterOf(const Operation &get) {
  if (std::strncmp(get.name, "Get", 3) != 0) return nullptr;
  const Operation *set = FindOperation(("Set" + std::string(get.name + 3)).c_str());
  return set && std::strncmp(set->name, "Set", 3) == 0 ? set : nullptr;
}

// The request of the Set that writes a setting back: each of its fields
// from the field of the same name in the address or in the answer (the
// answer looked into when it is one record of other names).  What is left
// pairs up when one field of each side remains, or when the one field left
// is a record that the rest of the answer fills.  False when fields stay
// unfilled.
bool SetRequestOf(const Operation &set, const json &address, const json &answer, json *request) {
  const RecordDesc &desc = set.request();
  auto named = [&desc](const std::string &name) {
    for (size_t i = 0; i < desc.fieldCount; ++i)
      if (name == desc.fields[i].name) return &desc.fields[i];
    return static_cast<const Field *>(nullptr);
  };
  json source = answer;
  if (source.size() == 1 && source.begin()->is_object() && !named(source.begin().key()))
    source = json(*source.begin());
  *request = json::object();
  std::vector<const Field *> unfilled;
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const std::string name = desc.fields[i].name;
    if (address.contains(name)) (*request)[name] = address[name];
    else if (source.contains(name)) (*request)[name] = source[name], source.erase(name);
    else unfilled.push_back(&desc.fields[i]);
  }
  if (unfilled.empty()) return true;
  if (unfilled.size() != 1 || source.empty()) return false;
  if (source.size() == 1) (*request)[unfilled[0]->name] = *source.begin();
  else if (unfilled[0]->kind == Kind::Record) (*request)[unfilled[0]->name] = source;
  else return false;
  return true;
}

// shape with "@item" and "@key" replaced.
// A value as restore lists it: every password in it masked.  The document
// keeps them, since they are written back; the listing never shows one.
json Shown(json value) {
  if (value.is_object()) {
    for (auto &[name, member] : value.items())
      member = ws::NamesPassword(name) && member.is_string() ? json(WS_TRACE_MASK) : Shown(member);
  } else if (value.is_array()) {
    for (json &element : value) element = Shown(element);
  }
  return value;
}

// What the document names laid over what the device has: records member by
// member, anything else (a number, a text, an array) replaced whole.
json Overlaid(json current, const json &given) {
  if (!current.is_object() || !given.is_object()) return given;
  for (auto member = given.begin(); member != given.end(); ++member)
    current[member.key()] = Overlaid(current.value(member.key(), json()), member.value());
  return current;
}

// An answer as the device spells it: read into the record the Get answers
// with and printed back, so that a number given for an enumeration's symbol,
// or a number given as a text, compares equal to the device's answer.  As it
// is when the record cannot hold it (the write's own conversion says why).
json Spelled(const RecordDesc &desc, const json &answer) {
  RecordBuffer record(desc.size);
  if (!FromJsonValue(desc, record, answer).empty()) return answer;
  json spelled = json::parse(ToJson(desc, record.data()));
  spelled.erase("resultCode");
  return spelled;
}

json Substitute(const json &shape, const json &item, const json &key) {
  if (shape == "@item") return item;
  if (shape == "@key") return key;
  if (!shape.is_object()) return shape;
  json result = json::object();
  for (auto member = shape.begin(); member != shape.end(); ++member)
    result[member.key()] = Substitute(member.value(), item, key);
  return result;
}

// One call the restore plans, its request already the record the library
// sends, or why it cannot be sent.
struct Request {
  const Operation *op = nullptr;
  std::unique_ptr<RecordBuffer> record;
  std::string why;
};

Request Prepare(const Operation &op, const json &fields) {
  Request request{&op, std::make_unique<RecordBuffer>(op.request().size), ""};
  request.why = FillRequest(op, *request.record, fields);
  if (request.why.empty()) request.why = OutsideEnumeration(op.request(), request.record->data());
  return request;
}

Request Unavailable(const std::string &why) { return {nullptr, nullptr, why}; }

// One write the restore plans, the write that takes it back, and the line
// that reports both.
struct Write {
  Request apply, undo;
  json line;
  const char *done, *would;  // the action's words, made and planned
};

class Restore {
 public:
  Restore(Device &device, bool dryRun, bool keepGoing, bool merge)
      : device_(device), dryRun_(dryRun), keepGoing_(keepGoing), merge_(merge) {}

  // Reads the device and plans the writes of a backup's settings; throws
  // json::exception when the settings are not in the shape a backup writes.
  void Plan(const json &settings, const std::set<std::string> &included);
  void PlanSetting(const Operation &get, const Operation &set, const json &request, const json &saved);
  void PlanList(const ListSetting &list, const Operation &get, const json &request, const json &saved);
  void Skip(json line, const std::string &why) {
    Print(line, why);
    ++skipped_;
  }
  // Makes the planned writes: in order, then the removals in reverse, then
  // the change to the user the restore signs in as (its new password would
  // refuse every call after it).  Stopped by a refusal, it undoes what it
  // wrote.
  void Run() {
    for (Write &write : writes_) Make(write);
    for (auto removal = removals_.rbegin(); removal != removals_.rend(); ++removal) Make(*removal);
    for (Write &write : signedIn_) Make(write);
    if (stopped_) Undo();
  }
  int Summary() const;

 private:
  void Print(json &line, const std::string &action) {
    line["action"] = action;
    std::printf("%s\n", line.dump().c_str());
  }
  void Failed(json &line, const std::string &action, const std::string &why) {
    line["error"] = why;
    Print(line, action);
    ++refused_;
    stopped_ = !keepGoing_;
  }
  void Make(Write &write);
  void Undo();
  // Sends a prepared request; empty, or why it failed.
  std::string Send(const Request &request);
  // Queues a write, or refuses it before anything is written when its
  // request holds a value that cannot be sent.
  void Queue(std::vector<Write> &into, Write write) {
    if (!write.apply.why.empty()) return Failed(write.line, "refused before writing", write.apply.why);
    into.push_back(std::move(write));
  }
  // A list operation's request for one item, the address joined.
  json ListRequest(const Operation &op, const char *shape, const json &address, const json &item,
                   const json &key) const;
  bool Read(const Operation &get, const json &request, json &line, json *current) {
    std::string why;
    if (ReadSetting(get, device_, request, current, &why)) return true;
    Failed(line, "not read", why);
    return false;
  }

  Device &device_;
  const bool dryRun_, keepGoing_, merge_;
  bool stopped_ = false;
  size_t changed_ = 0, unchanged_ = 0, refused_ = 0, skipped_ = 0, undone_ = 0, notUndone_ = 0;
  std::vector<Write> writes_, removals_, signedIn_;
  std::vector<Write *> made_;  // the writes the device took, in order
};

std::string Restore::Send(const Request &request) {
  if (!request.why.empty()) return request.why;
  const Outcome outcome = Call(*request.op, device_, request.record->data());
  // A bare false answer (no resultCode) is a refusal too.
  if (!outcome.ok()) return outcome.Why();
  return outcome.response.value("result", true) == false ? "the device answered false" : "";
}

void Restore::Make(Write &write) {
  if (stopped_) return Skip(write.line, "not applied");
  if (dryRun_) {
    ++changed_;
    return Print(write.line, write.would);
  }
  const std::string why = Send(write.apply);
  if (!why.empty()) return Failed(write.line, "refused", why);
  ++changed_;
  made_.push_back(&write);
  Print(write.line, write.done);
}

void Restore::Undo() {
  for (auto write = made_.rbegin(); write != made_.rend(); ++write) {
    json &line = (*write)->line;
    const std::string why = Send((*write)->undo);
    if (why.empty()) {
      ++undone_;
      Print(line, "undone");
    } else {
      ++notUndone_;
      line["error"] = why;
      Print(line, "not undone");
    }
  }
}

void Restore::PlanSetting(const Operation &get, const Operation &set, const json &request, const json &given) {
  json line = {{"setting", get.name + 3}, {"request", request}}, wanted, current;
  if (!merge_ && !SetRequestOf(set, AddressOf(get, request), given, &wanted))
    return Skip(line, "skipped (no way to write it back)");
  if (!Read(get, request, line, &current)) return;
  const json saved = merge_ ? Spelled(get.response(), Overlaid(current, given)) : given;
  if (merge_ && !SetRequestOf(set, AddressOf(get, request), saved, &wanted))
    return Skip(line, "skipped (no way to write it back)");
  if (current == saved) {  // counted, not listed
    ++unchanged_;
    return;
  }
  line["from"] = Shown(current);
  line["to"] = Shown(saved);
  json old;
  Request undo = SetRequestOf(set, AddressOf(get, request), current, &old) ? Prepare(set, old)
                                                                           : Unavailable("no way to write it back");
  Queue(writes_, {Prepare(set, wanted), std::move(undo), line, "changed", "would change"});
}

json Restore::ListRequest(const Operation &op, const char *shape, const json &address, const json &item,
                          const json &key) const {
  json request = Substitute(json::parse(shape), item, key);
  for (size_t i = 0; i < op.request().fieldCount; ++i) {
    const char *name = op.request().fields[i].name;
    if (address.contains(name)) request[name] = address[name];
  }
  return request;
}

void Restore::PlanList(const ListSetting &list, const Operation &get, const json &request, const json &saved) {
  const std::string name = get.name + 3;
  json current, line = {{"setting", name}, {"request", request}};
  if (!Read(get, request, line, &current)) return;
  const json address = AddressOf(get, request);
  const json present = current.value(list.items, json::array());
  json wanted = saved.value(list.items, json::array());
  auto keyOf = [&list](const json &item) { return list.key ? item.value(list.key, json()) : item; };
  auto find = [&keyOf](const json &items, const json &key) {
    for (const json &item : items)
      if (keyOf(item) == key) return &item;
    return static_cast<const json *>(nullptr);
  };
  if (merge_) {  // each item named as the device names it, laid over the device's item of that name
    const json spelled = Spelled(get.response(), {{list.items, wanted}}).value(list.items, wanted);
    for (size_t i = 0; i < wanted.size(); ++i) {
      if (list.key && wanted[i].is_object() && spelled[i].is_object()) wanted[i][list.key] = spelled[i][list.key];
      if (const json *found = find(present, keyOf(wanted[i]))) wanted[i] = Overlaid(*found, wanted[i]);
    }
    wanted = Spelled(get.response(), {{list.items, wanted}}).value(list.items, wanted);
  }
  auto prepare = [&](const ListWrite &write, const json &item) {
    const Operation *op = write.operation ? FindOperation(write.operation) : nullptr;
    if (!op)
      return Unavailable(write.operation ? std::string("this wsctl has no ") + write.operation
                                         : "no operation takes it back");
    return Prepare(*op, ListRequest(*op, write.request, address, item, keyOf(item)));
  };
  // A write of item, taken back by undo with undoItem.
  auto plan = [&](std::vector<Write> &into, const ListWrite &write, const json &item, const ListWrite &undo,
                  const json &undoItem, json itemLine, const char *done, const char *would) {
    if (!FindOperation(write.operation))
      return Skip(itemLine, std::string("skipped (this wsctl has no ") + write.operation + ")");
    Queue(into, {prepare(write, item), prepare(undo, undoItem), itemLine, done, would});
  };
  const bool namesOnly = !list.add.request || !std::strstr(list.add.request, "@item");
  auto signsIn = [&](const json &item) {
    return list.key && std::strcmp(list.key, "userID") == 0 && device_.credentials && keyOf(item) == device_.user;
  };

  for (const json &item : wanted) {
    json itemLine = {{"setting", name}, {"request", request}, {"item", keyOf(item)}};
    const json *found = find(present, keyOf(item));
    if (found && (*found == item || namesOnly)) {
      ++unchanged_;
      continue;
    }
    if (found) itemLine["from"] = Shown(*found);
    if (!namesOnly) itemLine["to"] = Shown(item);
    if (!found && list.add.operation) {
      plan(writes_, list.add, item, list.remove, item, itemLine, "added", "would add");
    } else if (found && list.update.operation) {
      plan(signsIn(item) ? signedIn_ : writes_, list.update, item, list.update, *found, itemLine, "changed",
           "would change");
    } else if (found && list.add.operation && list.remove.operation) {  // replaced: removed, added again
      // Removed only when it can be added again.
      Write again{prepare(list.add, item), prepare(list.remove, item), itemLine, "added again", "would add again"};
      if (again.apply.why.empty())
        plan(writes_, list.remove, *found, list.add, *found, itemLine, "removed to be added again",
             "would remove to add again");
      Queue(writes_, std::move(again));
    } else {
      Skip(itemLine, found ? "skipped (the device cannot change it)" : "skipped (the device cannot add it)");
    }
  }
  for (const json &item : present) {
    if (merge_ || find(wanted, keyOf(item))) continue;
    json itemLine = {{"setting", name}, {"request", request}, {"item", keyOf(item)}};
    if (!list.remove.operation) Skip(itemLine, "kept (the device cannot remove it)");
    else if (signsIn(item))
      Skip(itemLine, "kept (the user this restore signs in as)");
    else plan(removals_, list.remove, item, list.add, item, itemLine, "removed", "would remove");
  }
}

int Restore::Summary() const {
  std::fflush(stdout);  // the settings before the summary, where both reach one terminal
  std::string undo;
  if (undone_ + notUndone_) undo = ", " + std::to_string(undone_) + " undone";
  if (notUndone_) undo += ", " + std::to_string(notUndone_) + " not undone (left as the backup has them)";
  std::fprintf(stderr, "wsctl restore: %zu %s%s, %zu unchanged, %zu failed, %zu not applied%s\n", changed_,
               dryRun_ ? "would change" : "changed", undo.c_str(), unchanged_, refused_, skipped_,
               stopped_ ? " (stopped at the first failure; --keep-going goes on)" : "");
  return refused_ ? 1 : 0;
}

void Restore::Plan(const json &settings, const std::set<std::string> &included) {
  for (const json &entry : settings) {
    const Operation *get = entry.is_object() ? FindOperation(entry.value("operation", "").c_str()) : nullptr;
    const ListSetting *list = get ? ListSettingOf(get->name) : nullptr;
    const Operation *set = get ? SetterOf(*get) : nullptr;
    if (!set && !list) continue;  // read-only: nothing to write back
    const json request = entry.value("request", json::object()), saved = entry.value("response", json::object());
    const std::string name = get->name + 3;
    if (Among(name, kDeviceOwn, std::size(kDeviceOwn)) && !included.count(name))
      Skip({{"setting", name}, {"request", request}}, "left out (this device's own; --include " + name + " restores it)");
    else if (list) PlanList(*list, *get, request, saved);
    else PlanSetting(*get, *set, request, saved);
  }
}

}  // namespace

int RestoreCommand(int argc, char **argv, Device device) {
  std::vector<std::string> rest;
  const std::set<std::string> included = Included(argc, argv, &rest);
  bool dryRun = false, keepGoing = false, merge = false;
  std::string fileName;
  for (const std::string &arg : rest) {
    if (arg == "--dry-run") dryRun = true;
    else if (arg == "--keep-going") keepGoing = true;
    else if (arg == "--merge") merge = true;
    else if (fileName.empty() && arg.compare(0, 2, "--") != 0) fileName = arg;
    else return Problem("restore", "unexpected argument " + arg, kUsageError);
  }
  if (fileName.empty())
    return Problem("restore", "usage: wsctl restore FILE [--dry-run] [--keep-going] [--merge]", kUsageError);
  std::ifstream in(fileName, std::ios::binary);
  json document;
  const std::string unread = in ? wsjson::Parse(in, &document) : "cannot be read";
  if (!unread.empty()) return Problem("restore", fileName + ": " + unread, kUsageError);
  if (!document.is_object() || document.value("format", json()) != kBackupFormat ||
      !document.contains("settings") || !document["settings"].is_array())
    return Problem("restore", fileName + " is not a backup of format " + std::to_string(kBackupFormat), kUsageError);

  Restore restore(device, dryRun, keepGoing, merge);
  try {
    restore.Plan(document["settings"], included);
  } catch (const json::exception &problem) {  // a document edited into another shape
    return Problem("restore", fileName + ": " + problem.what(), kUsageError);
  }
  restore.Run();
  return restore.Summary();
}

}  // namespace wsctl
