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

const std::string kBase = WS_TEST_BASE_NAMESPACE;

// The request every export sends around its SOAP body: the same header lines
// and envelope for every operation, the action and length its own.
std::string ExpectedRequest(const std::string &op, const std::string &body, int port) {
  std::string ns = "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                   "xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\" "
                   "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                   "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"";
  // The binding namespaces in the table's order: ns10 to ns19, then ns2 to
  // ns9, with the base namespace ns1 before ns9.
  const char *bindings[] = {"FactorySoap",      "FactorySoap12",      "NetworkSoap",        "NetworkSoap12",
                            "PTZSoap",          "PTZSoap12",          "UtilitySoap",        "UtilitySoap12",
                            "VideoAnalysisSoap", "VideoAnalysisSoap12", "AccountSoap",        "AccountSoap12",
                            "AudioVideoSoap",   "AudioVideoSoap12",   "BasicSystemSoap",    "BasicSystemSoap12",
                            "EventScheduleSoap", "EventScheduleSoap12"};
  const int prefixes[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 2, 3, 4, 5, 6, 7, 8, 9};
  for (size_t i = 0; i < std::size(prefixes); ++i) {
    if (prefixes[i] == 9) ns += " xmlns:ns1=\"" + kBase + "\"";
    ns += " xmlns:ns" + std::to_string(prefixes[i]) + "=\"" + kBase + bindings[i] + "\"";
  }
  const std::string envelope = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SOAP-ENV:Envelope " + ns +
                               "><SOAP-ENV:Body>" + body + "</SOAP-ENV:Body></SOAP-ENV:Envelope>\r\n";
  return "POST /soap HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nUser-Agent: gSOAP/2.7\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
         std::to_string(envelope.size()) +
         "\r\nConnection: close\r\nAuthorization: Basic YWRtaW46YWRtaW4=\r\nSOAPAction: \"" + kBase + op +
         "\"\r\n\r\n" + envelope;
}

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
