#include "golden_file.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Every occurrence of from in text replaced by to.
std::string Replace(std::string text, const std::string &from, const std::string &to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

GoldenFile ReadGoldenFile(const std::string &op) {
  GoldenFile file;
  file.path = std::string(WS_TEST_GOLDEN_DIR) + "/" + op + ".txt";
  std::ifstream in(file.path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("--- ", 0) == 0) {
      size_t open = line.find(" ("), close = line.find(')', open);
      GoldenSection section;
      section.name = line.substr(4, open == std::string::npos ? std::string::npos : open - 4);
      if (open != std::string::npos && close != std::string::npos) {
        section.kind = line.substr(open + 2, close - open - 2);
        if (close + 2 <= line.size()) section.label = line.substr(close + 2);
      }
      file.sections.push_back(section);
    } else if (file.sections.empty()) {
      file.comment += line + "\n";
    } else {
      std::string &text = file.sections.back().text;
      text += (text.empty() ? "" : "\n") + line;
    }
  }
  return file;
}

std::string PrintGoldenFile(const GoldenFile &file) {
  std::string text = file.comment;
  for (const GoldenSection &section : file.sections) {
    text += "--- " + section.name + (section.kind.empty() ? "" : " (" + section.kind + ")") +
            (section.label.empty() ? "" : " " + section.label) + "\n";
    if (!section.text.empty()) text += section.text + "\n";
  }
  return text;
}

std::string AnswerEnvelope(const std::string &answer) {
  const std::string base = WS_TEST_BASE_NAMESPACE;
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:ns1=\"" +
         base + "\">\n<soap:Body>\n" + Replace(answer, "http://tempuri.org/", base) +
         "\n</soap:Body>\n</soap:Envelope>\n";
}

std::string GoldenExchanges(GoldenFile &file, std::vector<GoldenExchange> *exchanges) {
  std::vector<GoldenSection> &sections = file.sections;
  for (size_t at = 0; at < sections.size();) {
    const std::string where = file.path + " section " + std::to_string(at + 1);
    // The next section of that name, or null.
    auto take = [&](const char *name) {
      return at < sections.size() && sections[at].name == name ? &sections[at++] : nullptr;
    };
    GoldenExchange exchange{};
    exchange.request = take("request");
    exchange.before = take("response before");
    exchange.body = take("body");
    exchange.answer = take("answer");
    exchange.response = take("response");
    if (!exchange.request || !exchange.body || !exchange.answer || !exchange.response)
      return where + ": expected request, response before (optional), body, answer, response";
    exchanges->push_back(exchange);
  }
  return "";
}

std::string GoldenAnswer(const std::string &op, const std::string &label) {
  GoldenFile file = ReadGoldenFile(op);
  std::vector<GoldenExchange> exchanges;
  GoldenExchanges(file, &exchanges);
  for (const GoldenExchange &exchange : exchanges)
    if (label.empty() || exchange.request->label == label) return AnswerEnvelope(exchange.answer->text);
  return "";
}

std::string WithText(std::string answer, const std::string &element, const std::string &text) {
  size_t start = answer.find(element + ">");
  while (start != std::string::npos && start > 0 && answer[start - 1] != '<' && answer[start - 1] != ':')
    start = answer.find(element + ">", start + 1);
  if (start == std::string::npos) return answer;
  start += element.size() + 1;
  return answer.replace(start, answer.find("</", start) - start, text);
}

// The request every export sends around its SOAP body: the same header lines
// and envelope for every operation, the action and length its own.
std::string ExpectedRequest(const std::string &op, const std::string &body, int port) {
  const std::string base = WS_TEST_BASE_NAMESPACE;
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
    if (prefixes[i] == 9) ns += " xmlns:ns1=\"" + base + "\"";
    ns += " xmlns:ns" + std::to_string(prefixes[i]) + "=\"" + base + bindings[i] + "\"";
  }
  const std::string envelope = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SOAP-ENV:Envelope " + ns +
                               "><SOAP-ENV:Body>" + body + "</SOAP-ENV:Body></SOAP-ENV:Envelope>\r\n";
  return "POST /soap HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
         "\r\nUser-Agent: gSOAP/2.7\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: " +
         std::to_string(envelope.size()) +
         "\r\nConnection: close\r\nAuthorization: Basic YWRtaW46YWRtaW4=\r\nSOAPAction: \"" + base + op +
         "\"\r\n\r\n" + envelope;
}
