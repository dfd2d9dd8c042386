// Feeds arbitrary bytes to wsctl's readers of JSON from users and files: the
// shared parser, every operation's request record (--json-in, restore's
// writes) and the fleet inventory (JSON or lines).  Aborts when a reader
// throws, when a record it accepted does not print back as valid JSON, or
// when an inventory it accepted holds a device no call could address.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/codec.h"
#include "tools/json_input.h"
#include "tools/session.h"

namespace {

void Check(bool ok, const char *what) {
  if (ok) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void Records(const nlohmann::json &value) {
  size_t count = 0;
  const wsctl::Operation *operations = wsctl::Operations(&count);
  for (size_t i = 0; i < count; ++i) {
    const wsctl::RecordDesc &desc = operations[i].request();
    wsctl::RecordBuffer record(desc.size);
    if (!wsctl::FromJsonValue(desc, record, value).empty()) continue;
    const std::string printed = wsctl::ToJson(desc, record.data());
    Check(!nlohmann::json::parse(printed, nullptr, false).is_discarded(), "an accepted record prints as invalid JSON");
  }
}

void Inventory(const std::string &text) {
  std::vector<wsctl::Device> devices;
  if (!wsctl::ReadInventory(text, wsctl::Device(), devices).empty()) return;
  for (const wsctl::Device &device : devices) {
    Check(!device.host.empty() && wsjson::IsUtf8(device.host), "an inventory host that is empty or not UTF-8");
    Check(device.conn.port >= 1 && device.conn.port <= 65535, "an inventory port out of range");
    Check(device.conn.endpointKind >= 0 && device.conn.endpointKind <= 2, "an inventory kind out of range");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  try {
    nlohmann::json value;
    if (wsjson::Parse(text, &value).empty()) {
      Check(wsjson::IsUtf8(wsjson::Print(value)), "parsed JSON prints as bytes that are not UTF-8");
      Records(value);
    }
    Inventory(text);
  } catch (const std::exception &error) {
    std::fprintf(stderr, "a reader threw: %s\n", error.what());
    std::abort();
  }
  return 0;
}
