// Every export's exchange, one data file per operation: tests/golden/<Op>.txt
// holds the request record (JSON in wsctl's shape), the SOAP body the export
// must send, the device's answer and the response record it must make of it
// (JSON).  A "response before" section after the request fills the response
// record as a caller would before the call (otherwise it starts zero-filled),
// so that an exchange shows what the export leaves alone.  A file may hold
// several exchanges, one after another.  Each is run
// through the export against the scripted fake device and must match byte
// for byte: the whole HTTP request (the envelope and header lines are the same
// for every operation) and the response printed as JSON.
//
// WS_GOLDEN_WRITE=1 rewrites the body and response sections of the files it
// runs from what the exports did, keeping the others and the labels; read the
// difference before committing it.
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

// Nulls the pointers of the record that still point where they pointed
// before the call (the caller's memory, which the buffer owns), so that
// FreeItems releases only what the library allocated.
void ForgetCallerMemory(const wsctl::RecordDesc &desc, const char *before, char *after) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const wsctl::Field &field = desc.fields[i];
    for (size_t k = 0; k < field.count; ++k) {
      const size_t at = field.offset + k * field.size;
      if (field.kind == wsctl::Kind::Record) {
        ForgetCallerMemory(field.nested(), before + at, after + at);
      } else if ((field.kind == wsctl::Kind::Items || field.kind == wsctl::Kind::TextPointer) &&
                 wsctl::ReadPointer(after + at) == wsctl::ReadPointer(before + at)) {
        wsctl::WritePointer(after + at, nullptr);
      }
    }
  }
}

class Golden : public ::testing::TestWithParam<const wsctl::Operation *> {
 protected:
  // Runs one exchange: its request, the response record as the caller filled
  // it, the answer and the expected body and response.  In writing mode the
  // body and response are replaced by what happened.
  void Run(const GoldenExchange &exchange) {
    const wsctl::Operation &op = *GetParam();
    const wsctl::RecordDesc &requestDesc = op.request(), &responseDesc = op.response();
    wsctl::RecordBuffer requestRecord(requestDesc.size);
    ASSERT_EQ("", wsctl::FromJson(requestDesc, requestRecord, exchange.request->text)) << "the request section";
    if (requestDesc.prepare) requestDesc.prepare(requestRecord.data());
    wsctl::RecordBuffer responseRecord(responseDesc.size);
    if (exchange.before) {
      ASSERT_EQ("", wsctl::FromJson(responseDesc, responseRecord, exchange.before->text)) << "the response before";
    }
    char *record = static_cast<char *>(responseRecord.data());
    const std::vector<char> before(record, record + responseDesc.size);
    device.Script({Reply::Ok(AnswerEnvelope(exchange.answer->text))});
    ConnectionInfo conn{0, 0, device.port(), ENDPOINT_KIND_SOAP_PATH};
    ASSERT_EQ(0, op.call("127.0.0.1", "admin", "admin", requestRecord.data(), record, &conn));
    const std::string sent = device.Request();
    const std::string printed = wsctl::ToJson(responseDesc, record);
    ForgetCallerMemory(responseDesc, before.data(), record);
    wsctl::FreeItems(responseDesc, record);
    if (Writing()) {
      exchange.body->text = SoapBody(sent);
      exchange.response->text = printed;
      return;
    }
    EXPECT_EQ(ExpectedRequest(op.name, exchange.body->text, device.port()), sent) << "the request sent";
    EXPECT_EQ(exchange.response->text, printed) << "the response record";
  }

  FakeDevice device;
};

TEST_P(Golden, Exchange) {
  ASSERT_TRUE(device.ok());
  GoldenFile file = ReadGoldenFile(GetParam()->name);
  const std::string &path = file.path;
  ASSERT_FALSE(file.sections.empty()) << path << " is missing: every operation has its exchange";
  std::vector<GoldenExchange> exchanges;
  ASSERT_EQ("", GoldenExchanges(file, &exchanges));
  for (size_t i = 0; i < exchanges.size(); ++i) {
    SCOPED_TRACE(path + ", exchange " + std::to_string(i + 1) + " " + exchanges[i].request->label);
    Run(exchanges[i]);
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
