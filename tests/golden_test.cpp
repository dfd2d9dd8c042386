// Every export's exchange, one data file per operation: tests/golden/<Op>.txt
// holds the request record (JSON in wsctl's shape), the SOAP body the export
// must send, the device's answer and the response record it must make of it
// (JSON).  A file may hold several exchanges, one after another.  Each is run
// through the export against the scripted fake device and must match byte
// for byte: the whole HTTP request (the envelope and header lines are the same
// for every operation) and the response printed as JSON.
//
// WS_GOLDEN_WRITE=1 rewrites the body and response sections of the files it
// runs from what the exports did; read the difference before committing it.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fake_device.h"
#include "golden_file.h"
#include "tools/codec.h"

namespace {

// The SOAP body of a recorded request.
std::string SoapBody(const std::string &request) {
  const std::string open = "<SOAP-ENV:Body>", close = "</SOAP-ENV:Body>";
  size_t start = request.find(open), end = request.rfind(close);
  if (start == std::string::npos || end == std::string::npos) return "";
  return request.substr(start + open.size(), end - start - open.size());
}

bool Writing() {
  const char *write = std::getenv("WS_GOLDEN_WRITE");
  return write && *write && std::string(write) != "0";
}

std::string OperationName(const ::testing::TestParamInfo<const wsctl::Operation *> &info) {
  return info.param->name;
}

std::vector<const wsctl::Operation *> AllOperations() {
  size_t count = 0;
  const wsctl::Operation *ops = wsctl::Operations(&count);
  std::vector<const wsctl::Operation *> all;
  for (size_t i = 0; i < count; ++i) all.push_back(&ops[i]);
  return all;
}

class Golden : public ::testing::TestWithParam<const wsctl::Operation *> {
 protected:
  // Runs one exchange: its request, answer and expected body and response.
  // In writing mode the body and response are replaced by what happened.
  void Run(GoldenSection &request, GoldenSection &body, const GoldenSection &answer, GoldenSection &response) {
    const wsctl::Operation &op = *GetParam();
    const wsctl::RecordDesc &requestDesc = op.request(), &responseDesc = op.response();
    wsctl::RecordBuffer requestRecord(requestDesc.size);
    ASSERT_EQ("", wsctl::FromJson(requestDesc, requestRecord, request.text)) << "the request section";
    if (requestDesc.prepare) requestDesc.prepare(requestRecord.data());
    wsctl::RecordBuffer responseRecord(responseDesc.size);
    device.Script({Reply::Ok(AnswerEnvelope(answer.text))});
    ConnectionInfo conn{0, 0, device.port(), ENDPOINT_KIND_SOAP_PATH};
    ASSERT_EQ(0, op.call("127.0.0.1", "admin", "admin", requestRecord.data(), responseRecord.data(), &conn));
    const std::string sent = device.Request();
    const std::string printed = wsctl::ToJson(responseDesc, responseRecord.data());
    wsctl::FreeItems(responseDesc, responseRecord.data());
    if (Writing()) {
      body.text = SoapBody(sent);
      response.text = printed;
      return;
    }
    EXPECT_EQ(ExpectedRequest(op.name, body.text, device.port()), sent) << "the request sent";
    EXPECT_EQ(response.text, printed) << "the response record";
  }

  FakeDevice device;
};

TEST_P(Golden, Exchange) {
  ASSERT_TRUE(device.ok());
  GoldenFile file = ReadGoldenFile(GetParam()->name);
  const std::string &path = file.path;
  ASSERT_FALSE(file.sections.empty()) << path << " is missing: every operation has its exchange";
  // Sections come in fours, in this order.
  const char *order[] = {"request", "body", "answer", "response"};
  ASSERT_EQ(0u, file.sections.size() % 4) << path;
  for (size_t i = 0; i < file.sections.size(); i += 4) {
    for (size_t j = 0; j < 4; ++j) ASSERT_EQ(order[j], file.sections[i + j].name) << path << " section " << i + j;
    SCOPED_TRACE(path + ", exchange " + std::to_string(i / 4 + 1));
    Run(file.sections[i], file.sections[i + 1], file.sections[i + 2], file.sections[i + 3]);
  }
  if (Writing() && !HasFatalFailure()) {
    std::ofstream out(path, std::ios::binary);
    out << PrintGoldenFile(file);
  }
}

INSTANTIATE_TEST_SUITE_P(AllOperations, Golden, ::testing::ValuesIn(AllOperations()), OperationName);

// No file names an operation that does not exist.
TEST(GoldenFiles, NameOperations) {
  std::set<std::string> names;
  for (const wsctl::Operation *op : AllOperations()) names.insert(std::string(op->name) + ".txt");
  DIR *dir = opendir(WS_TEST_GOLDEN_DIR);
  ASSERT_NE(nullptr, dir);
  while (dirent *entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0) {
      EXPECT_TRUE(names.count(name)) << name;
    }
  }
  closedir(dir);
}

}  // namespace
