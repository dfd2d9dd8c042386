// Completes the service descriptions soapcpp2 writes, at build time.
//
//   complete_descriptions <base-namespace> <input-dir> <output-dir> <source> <binding>...
//
// The enumerations are plain integers with serializers of our own (a number
// outside the table must still travel), so soapcpp2 names their schema types
// without defining them.  This step defines each one the descriptions
// reference as an xsd:string restriction listing its symbols, taken from the
// tables of webservice/Enums.h, in the schema of the base namespace.  It also
// gives every service the device's address (all services share /soap) and
// writes, besides one WSDL per service and the base namespace's schema, one
// WSDL of every service together, which it also writes as a C++ source
// defining ws::kDeviceDescription for the simulator to serve.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "webservice/Enums.h"

namespace {

const char kAddress[] = "http://localhost/soap";
const char kCombinedName[] = "webservice";

struct Enumeration {
  const char *schemaName;
  std::vector<const char *> symbols;
};

#define WS_SYMBOL_NAME(symbol, value) #symbol,
#define WS_ENUMERATION_ENTRY(ctype, schema, values) {#schema, {values(WS_SYMBOL_NAME)}},
const Enumeration kEnumerations[] = {WS_ENUMERATIONS(WS_ENUMERATION_ENTRY)};

bool Read(const std::string &path, std::string *text) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return in.good() || in.eof();
}

bool Write(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return out.good();
}

std::string SimpleType(const Enumeration &e) {
  std::string type = "    <simpleType name=\"" + std::string(e.schemaName) + "\">\n"
                     "      <restriction base=\"xsd:string\">\n";
  for (const char *symbol : e.symbols) type += "        <enumeration value=\"" + std::string(symbol) + "\"/>\n";
  return type + "      </restriction>\n    </simpleType>\n";
}

// Defines, in the schema of the base namespace, every enumeration the text
// references and that schema does not define yet.
bool DefineEnumerations(std::string &text, const std::string &base) {
  const size_t schema = text.find("<schema targetNamespace=\"" + base + "\"");
  if (schema == std::string::npos) return false;
  const size_t end = text.find("</schema>", schema);
  if (end == std::string::npos) return false;
  const size_t lineStart = text.rfind('\n', end) + 1;
  std::string definitions;
  for (const Enumeration &e : kEnumerations) {
    const std::string name = e.schemaName;
    const bool referenced = text.find("\"ns1:" + name + "\"") != std::string::npos;
    const bool defined = text.find("<simpleType name=\"" + name + "\"", schema) < end;
    if (referenced && !defined) definitions += SimpleType(e);
  }
  text.insert(lineStart, definitions);
  return true;
}

// Replaces the value of every attribute `name="..."` that follows `after`.
void ReplaceAttribute(std::string &text, const std::string &after, const std::string &name,
                      const std::string &value) {
  const std::string key = name + "=\"";
  for (size_t at = text.find(after); at != std::string::npos; at = text.find(after, at + 1)) {
    const size_t start = text.find(key, at);
    const size_t stop = start == std::string::npos ? start : text.find('"', start + key.size());
    if (stop == std::string::npos) return;
    text.replace(start + key.size(), stop - start - key.size(), value);
  }
}

void SetServiceDocumentation(std::string &text) {
  const size_t service = text.find("<service name=");
  const size_t open = text.find("<documentation>", service);
  const size_t close = text.find("</documentation>", open);
  if (service == std::string::npos || open == std::string::npos || close == std::string::npos) return;
  text.replace(open, close - open, "<documentation>Service of the network video device at one URL");
}

// One description of every service: the types once, then each service's
// messages, port type, binding and service element.
bool Combine(const std::vector<std::string> &services, const std::string &base, std::string *out) {
  const std::string typesEnd = "</types>\n";
  const std::string definitionsEnd = "</definitions>";
  const size_t head = services.front().find(typesEnd);
  if (head == std::string::npos) return false;
  std::string combined = services.front().substr(0, head + typesEnd.size());
  ReplaceAttribute(combined, "<definitions", "name", kCombinedName);
  ReplaceAttribute(combined, "<definitions", "targetNamespace", base);
  ReplaceAttribute(combined, "<definitions", "xmlns:tns", base);
  for (const std::string &service : services) {
    const size_t from = service.find(typesEnd);
    const size_t to = service.rfind(definitionsEnd);
    if (from == std::string::npos || to == std::string::npos || to < from) return false;
    combined.append(service, from + typesEnd.size(), to - from - typesEnd.size());
  }
  *out = combined + definitionsEnd + "\n";
  return true;
}

std::string AsSource(const std::string &description) {
  return "// Generated by the build from the service descriptions.\n"
         "namespace ws {\n"
         "extern const char kDeviceDescription[];\n"
         "const char kDeviceDescription[] = R\"wsdl(" +
         description + ")wsdl\";\n}  // namespace ws\n";
}

int Fail(const std::string &what) {
  std::fprintf(stderr, "complete_descriptions: %s\n", what.c_str());
  return 1;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 6) return Fail("usage: complete_descriptions BASE IN_DIR OUT_DIR SOURCE BINDING...");
  const std::string base = argv[1], in = argv[2], out = argv[3], source = argv[4];
  std::string schema;
  if (!Read(in + "/ns1.xsd", &schema) || !DefineEnumerations(schema, base) || !Write(out + "/ns1.xsd", schema))
    return Fail("cannot complete " + in + "/ns1.xsd");
  std::vector<std::string> services;
  for (int i = 5; i < argc; ++i) {
    const std::string name = std::string(argv[i]) + ".wsdl";
    std::string text;
    if (!Read(in + "/" + name, &text) || !DefineEnumerations(text, base)) return Fail("cannot complete " + name);
    ReplaceAttribute(text, "<SOAP:address", "location", kAddress);
    SetServiceDocumentation(text);
    if (!Write(out + "/" + name, text)) return Fail("cannot write " + out + "/" + name);
    services.push_back(text);
  }
  std::string combined;
  if (!Combine(services, base, &combined) || !Write(out + "/" + kCombinedName + ".wsdl", combined) ||
      !Write(source, AsSource(combined)))
    return Fail("cannot write the combined description");
  return 0;
}
