// The status table: every status an export returns has a name of its own and
// a text, and a number outside the table is told apart from those in it.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "webservice/WebService.h"

namespace {

struct NamedStatus {
  int value;
  const char *name;
};

#define WS_TEST_NAMED_STATUS(name, value, text) {value, "WS_STATUS_" #name},
const NamedStatus kStatuses[] = {WS_STATUS_TABLE(WS_TEST_NAMED_STATUS) WS_PLATFORM_ERROR_TABLE(WS_TEST_NAMED_STATUS)};

TEST(StatusTable, EveryStatusHasADistinctNameAndAText) {
  std::set<std::string> names;
  for (const NamedStatus &status : kStatuses) {
    EXPECT_STREQ(status.name, WebService_StatusName(status.value));
    EXPECT_TRUE(names.insert(WebService_StatusName(status.value)).second) << status.name;
    EXPECT_STRNE("", WebService_StatusText(status.value)) << status.name;
  }
}

// The statuses the exports return in the other suites (argument checks,
// faults, hostile devices, TLS and unreachable devices), by number.
TEST(StatusTable, NamesEveryStatusTheExportsReturn) {
  const struct {
    int value;
    const char *name;
  } returned[] = {
      {-1, "WS_STATUS_NO_INPUT"},         {0, "WS_STATUS_OK"},
      {1, "WS_STATUS_CLIENT_FAULT"},      {2, "WS_STATUS_SERVER_FAULT"},
      {3, "WS_STATUS_UNEXPECTED_ELEMENT"}, {5, "WS_STATUS_BAD_XML"},
      {12, "WS_STATUS_FAULT"},            {20, "WS_STATUS_OUT_OF_MEMORY"},
      {29, "WS_STATUS_HTTP_ERROR"},       {44, "WS_STATUS_TOO_MANY_ITEMS"},
      {12002, "WS_STATUS_TIMEOUT"},       {12007, "WS_STATUS_NAME_NOT_RESOLVED"},
      {12014, "WS_STATUS_INCORRECT_PASSWORD"}, {12029, "WS_STATUS_CANNOT_CONNECT"},
      {12031, "WS_STATUS_CONNECTION_RESET"}, {12037, "WS_STATUS_SEC_CERT_DATE_INVALID"},
      {12045, "WS_STATUS_INVALID_CA"},    {12152, "WS_STATUS_INVALID_SERVER_RESPONSE"},
  };
  for (const auto &status : returned) EXPECT_STREQ(status.name, WebService_StatusName(status.value));
  // The public names of the platform's numbers stay what they were.
  EXPECT_EQ(12029, WS_ERROR_CANNOT_CONNECT);
  EXPECT_EQ(WS_STATUS_INVALID_CA, WS_ERROR_INVALID_CA);
}

TEST(StatusTable, NumbersOutsideTheTableAreUnknown) {
  const struct {
    int value;
    const char *text;
  } unknown[] = {
      {-2, "the SOAP runtime reported an error"}, {7, "the SOAP runtime reported an error"},
      {401, "the SOAP runtime reported an error"}, {11999, "the SOAP runtime reported an error"},
      {12000, "the HTTP client failed"},           {12999, "the HTTP client failed"},
  };
  for (const auto &status : unknown) {
    EXPECT_STREQ("WS_STATUS_UNKNOWN", WebService_StatusName(status.value)) << status.value;
    EXPECT_STREQ(status.text, WebService_StatusText(status.value)) << status.value;
  }
}

}  // namespace
