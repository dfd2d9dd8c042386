// wsctl backup and restore: what a device's setting is and how one is read.
//
// A setting is what a Get operation answers when it takes no request, a
// channel, a stream, a bare channel number or one value of an enumeration;
// the backup document keeps each with the request that read it.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/session.h"

namespace wsctl {

constexpr int kBackupFormat = 1;

// Reads one setting: true with the answer (its resultCode left out), false
// with why when the device did not give it.
bool ReadSetting(const Operation &op, Device &device, const nlohmann::json &request, nlohmann::json *answer,
                 std::string *why);

// The fields that address a setting in the operations that write it: the
// Get's request, a bare channel number named "channel".
nlohmann::json AddressOf(const Operation &get, const nlohmann::json &request);

// Prints "wsctl <command>: <message>" to standard error; returns code.
int Problem(const char *command, const std::string &message, int code = 1);

// The names given by --include; the other arguments go to rest.
std::set<std::string> Included(int argc, char **argv, std::vector<std::string> *rest);

}  // namespace wsctl
