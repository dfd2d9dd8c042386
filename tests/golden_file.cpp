#include "golden_file.h"

#include <fstream>
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
      size_t open = line.find(" (");
      GoldenSection section;
      section.name = line.substr(4, open == std::string::npos ? std::string::npos : open - 4);
      if (open != std::string::npos) section.kind = line.substr(open + 2, line.size() - open - 3);
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
    text += "--- " + section.name + (section.kind.empty() ? "" : " (" + section.kind + ")") + "\n";
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

std::string GoldenAnswer(const std::string &op) {
  for (const GoldenSection &section : ReadGoldenFile(op).sections)
    if (section.name == "answer") return AnswerEnvelope(section.text);
  return "";
}
