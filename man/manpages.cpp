// Writes the section-3 manual pages of the library: one per export and one
// per WebService_* extension, from the operation table, the record
// descriptions, the time-out table, the status tables and the comments of
// the public headers.  It also writes every page's example into one C file
// that the build compiles, so an example that no longer compiles fails the
// build.
//   manpages INCLUDE_DIR OUT_DIR VERSION
// Exits 1, naming the place, when a header lacks what a page needs: an
// export's declaration or comment, or the name of its answer's release
// function in the comment of an export whose answer owns memory.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/record_desc.h"
#include "core/timeouts.h"

namespace {

namespace fs = std::filesystem;
using wsctl::Field;
using wsctl::Kind;
using wsctl::RecordDesc;

// ---- What the headers say ----

struct Declaration {
  std::string header;     // "Account.h"
  std::string prototype;  // the declaration as written, WS_API and WS_CALL left out
  std::string comment;    // the comment just before it, as plain text
  std::vector<std::string> parameterTypes;
};

struct StructField {
  std::string declaration;  // "UserRecord *items"
  std::string name;
  std::string comment;
};

struct Struct {
  std::string comment;
  std::vector<StructField> fields;
};

std::map<std::string, Declaration> gFunctions;  // by name
std::map<std::string, Struct> gStructs;         // by type name
std::map<std::string, std::string> gHeaderTopics;  // header -> its first comment
int gProblems = 0;

void Problem(const std::string &what) {
  std::fprintf(stderr, "manpages: %s\n", what.c_str());
  ++gProblems;
}

std::string Trim(const std::string &text) {
  size_t start = text.find_first_not_of(" \t\n");
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_last_not_of(" \t\n") - start + 1);
}

// A C comment's text: the markers and each line's leading " * " removed,
// lines joined with single spaces.
std::string CommentText(const std::string &comment) {
  std::string body = comment.substr(2, comment.size() - 4), text, line;
  std::istringstream lines(body);
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (!line.empty() && line[0] == '*') line = Trim(line.substr(1));
    if (line.empty()) {
      if (!text.empty() && text.back() != '\n') text += "\n";
      continue;
    }
    text += (text.empty() || text.back() == '\n' ? "" : " ") + line;
  }
  return Trim(text);
}

std::string Collapse(std::string text) {
  text = std::regex_replace(text, std::regex("[ \t\n]+"), " ");
  return Trim(text);
}

void ReadHeader(const fs::path &path) {
  std::ifstream in(path);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str(), header = path.filename().string();
  size_t firstComment = text.find("/*");
  if (firstComment != std::string::npos) {
    std::string topic = CommentText(text.substr(firstComment, text.find("*/", firstComment) + 2 - firstComment));
    if (topic.rfind("WebService: the ", 0) == 0) gHeaderTopics[header] = "The " + topic.substr(16);
  }

  // Each comment, and what follows it directly.
  static const std::regex function(R"(^WS_API\s+([^;]*?)\s*\bWS_CALL\s+(\w+)\s*\(([^;]*)\)\s*;)");
  static const std::regex structure(R"(^typedef struct (\w+) \{([^}]*)\} \w+;)");
  static const std::regex member(R"(^\s*([^;/]*?\b(\w+)\s*(?:\[[^\]]*\])*)\s*;\s*(?:/\*\s*(.*?)\s*\*/)?\s*$)");
  std::string pendingComment;
  for (size_t at = 0; at < text.size();) {
    if (text.compare(at, 2, "/*") == 0) {
      size_t end = text.find("*/", at) + 2;
      pendingComment = CommentText(text.substr(at, end - at));
      at = end;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(text[at]))) {
      ++at;
      continue;
    }
    std::smatch match;
    const std::string rest = text.substr(at, 4000);
    if (std::regex_search(rest, match, function, std::regex_constants::match_continuous)) {
      const std::string result = Collapse(match[1]);
      Declaration declaration{header, result + (result.back() == '*' ? "" : " ") + match[2].str() + "(" +
                                          Collapse(match[3]) + ");",
                              pendingComment, {}};
      std::stringstream parameters(match[3].str());
      for (std::string parameter; std::getline(parameters, parameter, ',');) {
        std::smatch type;
        std::string trimmed = Collapse(parameter);
        if (std::regex_match(trimmed, type, std::regex(R"((?:const )?(\w+)[ *].*)")))
          declaration.parameterTypes.push_back(type[1]);
        else
          declaration.parameterTypes.push_back(trimmed);
      }
      gFunctions[match[2]] = declaration;
      at += match.length(0);
    } else if (std::regex_search(rest, match, structure, std::regex_constants::match_continuous)) {
      Struct record{pendingComment, {}};
      std::istringstream lines(match[2].str());
      for (std::string line; std::getline(lines, line);) {
        std::smatch field;
        if (std::regex_match(line, field, member)) record.fields.push_back({Collapse(field[1]), field[2], field[3]});
      }
      gStructs[match[1]] = record;
      at += match.length(0);
    } else {
      at = text.find('\n', at);
      if (at == std::string::npos) break;
    }
    pendingComment.clear();
  }
}

// ---- Writing roff ----

// Text for a roff text line: backslashes escaped, a leading dot or quote
// kept from being read as a request.
std::string Roff(const std::string &text) {
  std::string out;
  for (char c : text) out += c == '\\' ? std::string("\\e") : std::string(1, c);
  std::string lines, line;
  std::istringstream in(out);
  while (std::getline(in, line)) {
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) line = "\\&" + line;
    lines += line + "\n";
  }
  return lines;
}

std::string Paragraphs(const std::string &text) {
  std::string out, paragraph;
  std::istringstream in(text);
  while (std::getline(in, paragraph)) out += (out.empty() ? "" : ".PP\n") + Roff(paragraph);
  return out;
}

// ---- Records ----

const RecordDesc *gNoRecord = nullptr;

std::string EnumerationValues(const wsctl::EnumDesc &enumeration) {
  std::string values;
  for (size_t i = 0; i < enumeration.count; ++i)
    values += (i ? ", " : "") + std::string(enumeration.values[i].symbol) + " (" +
              std::to_string(enumeration.values[i].value) + ")";
  return values;
}

const Field *FieldNamed(const RecordDesc *desc, const std::string &name) {
  for (size_t i = 0; desc && i < desc->fieldCount; ++i)
    if (name == desc->fields[i].name) return &desc->fields[i];
  return nullptr;
}

// The records a record nests (fields and items of record type), depth first.
void NestedRecords(const RecordDesc &desc, std::vector<const RecordDesc *> &out) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    if (!field.nested) continue;
    const RecordDesc &nested = field.nested();
    bool seen = false;
    for (const RecordDesc *known : out) seen = seen || known == &nested;
    if (seen) continue;
    out.push_back(&nested);
    NestedRecords(nested, out);
  }
}

// What the library allocates into a record, as the caller reads it.
void OwnedParts(const RecordDesc &desc, const std::string &path, std::vector<std::string> &out) {
  for (size_t i = 0; i < desc.fieldCount; ++i) {
    const Field &field = desc.fields[i];
    const std::string name = path + field.name;
    if (field.kind == Kind::TextPointer) {
      out.push_back(name + " (a text)");
    } else if (field.kind == Kind::Items) {
      if (field.itemKind == Kind::TextPointer) out.push_back("each text of " + name);
      if (field.itemKind == Kind::Record) OwnedParts(field.nested(), "each item's ", out);
      out.push_back(name + " (an array)");
    } else if (field.kind == Kind::Record && wsctl::OwnsMemory(field.nested())) {
      OwnedParts(field.nested(), name + ".", out);
    }
  }
}

std::string Joined(const std::vector<std::string> &parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i)
    text += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
  return text;
}

// One record: its comment and a tagged paragraph per field, with the
// description's enumeration where the field holds one.
std::string RecordSection(const std::string &type, const RecordDesc *desc) {
  auto found = gStructs.find(type);
  if (found == gStructs.end()) return "";
  std::string out = ".SS " + type + "\n";
  if (!found->second.comment.empty()) out += Paragraphs(found->second.comment);
  for (const StructField &field : found->second.fields) {
    out += ".TP\n.B \"" + field.declaration + ";\"\n";
    std::string text = field.comment;
    const Field *described = FieldNamed(desc, field.name);
    if (described && described->enumeration)
      text += (text.empty() ? "" : "; ") + std::string("one of ") + EnumerationValues(*described->enumeration);
    out += text.empty() ? "\\&\n" : Roff(text);
  }
  return out;
}

// ---- Examples ----

struct Example {
  std::string includes;
  std::string body;  // the statements of main
};

const char kHost[] = "\"192.0.2.10\", \"admin\", \"secret\"";

std::string StatusCheck() {
  return "  if (status != 0) {\n"
         "    fprintf(stderr, \"%d %s: %s\\n\", status, WebService_StatusName(status), WebService_StatusText(status));\n"
         "    return 1;\n"
         "  }\n";
}

Example ExportExample(const wsctl::Operation &op, const Declaration &declaration) {
  const std::string requestType = declaration.parameterTypes.at(3);
  const bool hasResponse = declaration.parameterTypes.size() == 6;
  const std::string responseType = hasResponse ? declaration.parameterTypes.at(4) : "";
  std::string body = "  ConnectionInfo conn = {0, 0, 80, ENDPOINT_KIND_SOAP_PATH};\n", request;
  if (requestType == "void") {
    request = "\"\"";  // any pointer that is not NULL
  } else if (requestType == "char") {
    request = "\"text\"";
  } else if (requestType == "int32_t") {
    body += "  int32_t request = 1;\n";
    request = "&request";
  } else {
    body += "  " + requestType + " request = {0};  /* then set what the call reads */\n";
    request = "&request";
  }
  std::string call = "DLL_WebService" + std::string(op.name) + "(" + kHost + ", " + request;
  if (hasResponse && responseType == "void") {
    body += "  char unused = 0;  /* any pointer that is not NULL; never written */\n";
    call += ", &unused";
  } else if (hasResponse) {
    body += "  " + responseType + " response" + (gStructs.count(responseType) ? " = {0};\n" : " = 0;\n");
    call += ", &response";
  }
  body += "  int status = " + call + ", &conn);\n" + StatusCheck();
  if (FieldNamed(&op.response(), "resultCode") && gStructs.count(responseType))
    body += "  printf(\"the device answered %d\\n\", response.resultCode);\n";
  if (hasResponse && wsctl::OwnsMemory(op.response()))
    body += "  WebService_Free" + responseType + "(&response);\n";
  return {"#include <webservice/" + declaration.header + ">\n", body + "  return 0;\n"};
}

// The examples of the extensions that are not release functions.
std::map<std::string, Example> ExtensionExamples() {
  const std::string common = "#include <webservice/Common.h>\n", transport = "#include <webservice/Transport.h>\n";
  const std::string status = "  int status = WS_STATUS_CANNOT_CONNECT;\n"
                             "  printf(\"%d %s: %s\\n\", status, WebService_StatusName(status), WebService_StatusText(status));\n"
                             "  return 0;\n";
  return {
      {"WebService_StatusName", {common, status}},
      {"WebService_StatusText", {common, status}},
      {"WebService_SetCAFile", {transport, "  if (WebService_SetCAFile(\"/etc/ssl/private-ca.pem\") != 0)\n"
                                           "    fprintf(stderr, \"the authority's file cannot be read\\n\");\n"
                                           "  return 0;\n"}},
      {"WebService_SetResolveCallback",
       {transport + "\nstatic int accept_certificates(int error, const char *url, void *context) {\n"
                    "  (void)url;\n  (void)context;\n"
                    "  return error == WS_ERROR_INVALID_CA ? WS_RESOLVE_RETRY : WS_RESOLVE_NO_RETRY;\n}\n",
        "  WebService_SetResolveCallback(accept_certificates, NULL);\n  return 0;\n"}},
      {"WebService_SetTraceCallback",
       {transport + "\nstatic void print_exchange(const WebServiceExchange *exchange, void *context) {\n"
                    "  (void)context;\n"
                    "  fprintf(stderr, \"%s: HTTP %d, error %d\\n\", exchange->url, exchange->httpStatus, exchange->error);\n}\n",
        "  WebService_SetTraceCallback(print_exchange, NULL);\n  return 0;\n"}},
      {"WebService_AllowPlainHttpProbe", {transport, "  WebService_AllowPlainHttpProbe(1);  /* for old devices */\n  return 0;\n"}},
      {"WebService_FreeItems",
       {"#include <webservice/Account.h>\n",
        "  ConnectionInfo conn = {0, 0, 80, ENDPOINT_KIND_SOAP_PATH};\n"
        "  UserListRecord users = {0};\n"
        "  int status = DLL_WebServiceGetUserList(" + std::string(kHost) + ", \"\", &users, &conn);\n" + StatusCheck() +
            "  WebService_FreeItems(users.items);  /* WebService_FreeUserListRecord(&users) does the same */\n"
            "  return 0;\n"}},
  };
}

std::string ExampleSection(const Example &example) {
  return ".SH EXAMPLE\n.nf\n.in +4n\n" +
         Roff("#include <stdio.h>\n" + example.includes + "\nint main(void) {\n" + example.body + "}") + ".in\n.fi\n";
}

// ---- Pages ----

std::string Heading(const std::string &name, const std::string &version) {
  return ".TH " + name + " 3 \"\" \"WebService " + version + "\" \"WebService Library Functions\"\n";
}

std::string Synopsis(const std::string &name) {
  const Declaration &declaration = gFunctions.at(name);
  return ".SH SYNOPSIS\n.nf\n.B #include <webservice/" + declaration.header + ">\n.PP\n" +
         Roff(std::regex_replace(declaration.prototype, std::regex(", "), ",\n    ")) + ".fi\n";
}

const char kExportStatuses[] =
    ".SH RETURN VALUE\n0 when the exchange succeeded; the device's own verdict is then in the answer "
    "(its result and resultCode).  Otherwise one of these statuses, and the answer is left as it was:\n";

// The statuses of the tables in Common.h, after the section's heading and
// introduction.
std::string StatusesSection(const std::string &heading = kExportStatuses) {
  std::string out = heading;
#define WS_MAN_STATUS(name, value, text) \
  out += ".TP\n.BR WS_STATUS_" #name " \" (" #value ")\"\n" + Roff(text);
  WS_STATUS_TABLE(WS_MAN_STATUS)
  WS_PLATFORM_ERROR_TABLE(WS_MAN_STATUS)
#undef WS_MAN_STATUS
  return out + ".PP\n.BR WebService_StatusName (3)\nand\n.BR WebService_StatusText (3)\ngive a status's name and meaning.\n";
}

std::string ServiceOf(const wsctl::Operation &op) {
  size_t count;
  const wsctl::Service *services = wsctl::Services(&count);
  for (size_t i = 0; i < count; ++i)
    if (&op >= services[i].operations && &op < services[i].operations + services[i].count) return services[i].name;
  return "";
}

std::string ExportPage(const wsctl::Operation &op, const std::string &version, std::string *exampleOut) {
  const std::string name = "DLL_WebService" + std::string(op.name);
  auto found = gFunctions.find(name);
  if (found == gFunctions.end()) {
    Problem(name + " is declared in no header");
    return "";
  }
  const Declaration &declaration = found->second;
  if (declaration.comment.empty()) Problem(name + " has no comment in " + declaration.header);
  const bool hasResponse = declaration.parameterTypes.size() == 6;
  const std::string requestType = declaration.parameterTypes.at(3);
  const std::string responseType = hasResponse ? declaration.parameterTypes.at(4) : "";
  const bool owns = hasResponse && wsctl::OwnsMemory(op.response());
  const std::string release = "WebService_Free" + responseType;
  if (owns && declaration.comment.find(release) == std::string::npos)
    Problem(name + ": its comment in " + declaration.header + " does not name " + release);

  std::string page = Heading(name, version) + ".SH NAME\n" + name + " \\- the " + op.name + " operation of the " +
                     ServiceOf(op) + " service\n" + Synopsis(name);
  page += ".SH DESCRIPTION\nSends one " + std::string(op.name) + " request to the device at\n.I host\n"
          "and copies its answer into\n.IR response .\n"
          "The URL follows\n.IR conn ;\n.I user\nand\n.I password\n"
          "(either may be NULL: then no credentials are sent) go in an HTTP Basic authorization.\n.PP\n" +
          Roff(declaration.comment);
  if (!gHeaderTopics[declaration.header].empty()) page += ".PP\n" + Paragraphs(gHeaderTopics[declaration.header]);

  page += ".SH REQUEST\n";
  if (requestType == "void")
    page += "Any pointer that is not NULL; it is not read.\n";
  else if (requestType == "char")
    page += "A zero-terminated text, read up to its terminator.\n";
  else if (requestType == "int32_t")
    page += "Points to one int32_t.\n";
  else
    page += ".BR " + requestType + " ;\nthe records below give its fields.\n";
  page += ".SH RESPONSE\n";
  if (!hasResponse)
    page += "None: the call has five arguments.\n";
  else if (responseType == "void")
    page += "Any pointer that is not NULL; nothing is written there.\n";
  else if (gStructs.count(responseType))
    page += ".BR " + responseType + " ;\nthe records below give its fields.\n";
  else
    page += "Points to one " + responseType + ".\n";

  std::vector<std::pair<std::string, const RecordDesc *>> records;
  if (gStructs.count(requestType)) records.push_back({requestType, &op.request()});
  if (hasResponse && gStructs.count(responseType) && responseType != requestType)
    records.push_back({responseType, &op.response()});
  std::vector<const RecordDesc *> nested;
  for (auto &[type, desc] : records) NestedRecords(*desc, nested);
  for (const RecordDesc *desc : nested)
    if (gStructs.count(desc->name)) records.push_back({desc->name, desc});
  std::set<std::string> written;
  if (!records.empty()) page += ".SH RECORDS\n";
  for (auto &[type, desc] : records)
    if (written.insert(type).second) page += RecordSection(type, desc);
  page += RecordSection("ConnectionInfo", gNoRecord);

  page += ".SH TIME-OUT\nConnect, send and receive wait at most " + std::to_string(ws::TimeoutFor(op.name)) +
          " seconds each; the call as a whole ends within their sum.\n";
  page += ".SH OWNERSHIP\nThe library reads the caller's texts and records in place during the call and keeps "
          "nothing of them.\n";
  if (owns) {
    std::vector<std::string> parts;
    OwnedParts(op.response(), "", parts);
    page += "What it allocates into the answer belongs to the caller: " + Roff(Joined(parts) + ".") +
            ".PP\nRelease it all with\n.BR " +
            release + " (3),\nwhich takes nested parts first and leaves the record empty; start the record "
            "zeroed, as in the example.\n";
  } else {
    page += "Nothing the call writes needs releasing.\n";
  }
  page += StatusesSection();
  const Example example = ExportExample(op, declaration);
  page += ExampleSection(example);
  page += ".SH SEE ALSO\n";
  if (owns) page += ".BR " + release + " (3),\n";
  page += ".BR WebService_StatusName (3)\n";
  *exampleOut = "/* " + name + " */\n" + example.includes + "int example_" + op.name + "(void);\nint example_" +
                op.name + "(void) {\n" + example.body + "}\n\n";
  return page;
}

std::string ExtensionPage(const std::string &name, const Declaration &declaration, const std::string &version,
                          const std::map<std::string, Example> &examples, std::string *exampleOut) {
  if (declaration.comment.empty()) Problem(name + " has no comment in " + declaration.header);
  // The first sentence, or for a release function its first clause.
  std::string summary = declaration.comment.substr(0, declaration.comment.find_first_of(".;\n"));
  if (name.rfind("WebService_Free", 0) == 0) summary = summary.substr(0, summary.find(" ("));
  if (!summary.empty()) summary[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(summary[0])));
  std::string page = Heading(name, version) + ".SH NAME\n" + name + " \\- " + Roff(summary) + Synopsis(name) +
                     ".SH DESCRIPTION\n" + Paragraphs(declaration.comment);

  Example example;
  auto known = examples.find(name);
  const std::string record = name.substr(std::strlen("WebService_Free"));
  if (known != examples.end()) {
    example = known->second;
  } else if (name.rfind("WebService_Free", 0) == 0 && gStructs.count(record)) {
    // A release function: what it releases, and the exports that fill its record.
    std::vector<std::string> users;
    const wsctl::Operation *first = nullptr;
    size_t count;
    const wsctl::Operation *operations = wsctl::Operations(&count);
    for (size_t i = 0; i < count; ++i) {
      auto found = gFunctions.find("DLL_WebService" + std::string(operations[i].name));
      if (found == gFunctions.end() || found->second.parameterTypes.size() < 6 ||
          found->second.parameterTypes[4] != record)
        continue;
      if (!first) first = &operations[i];
      users.push_back(".BR DLL_WebService" + std::string(operations[i].name) + " (3)");
    }
    if (!first) {
      Problem(name + " releases a record no export fills");
      return "";
    }
    std::vector<std::string> parts;
    OwnedParts(first->response(), "", parts);
    page += ".PP\nIt releases, in this order: " + Roff(Joined(parts) + ".");
    page += ".SH RECORDS\n" + RecordSection(record, &first->response());
    std::vector<const RecordDesc *> nested;
    NestedRecords(first->response(), nested);
    for (const RecordDesc *desc : nested) page += RecordSection(desc->name, desc);
    page += ".SH FILLED BY\n";
    for (size_t i = 0; i < users.size(); ++i) page += users[i] + (i + 1 < users.size() ? ",\n" : "\n");
    example = ExportExample(*first, gFunctions.at("DLL_WebService" + std::string(first->name)));
  } else {
    Problem(name + " has no example");
    return "";
  }
  if (name.rfind("WebService_Status", 0) == 0) page += StatusesSection(".SH STATUSES\nEvery status an export returns:\n");
  page += ExampleSection(example) + ".SH SEE ALSO\n.BR " +
          (name == "WebService_StatusName" ? "WebService_StatusText" : "WebService_StatusName") + " (3)\n";
  *exampleOut = "/* " + name + " */\n" + example.includes + "int example_" + name + "(void);\nint example_" + name +
                "(void) {\n" + example.body + "}\n\n";
  return page;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: manpages INCLUDE_DIR OUT_DIR VERSION\n");
    return 2;
  }
  const fs::path includeDir = fs::path(argv[1]) / "webservice", outDir = argv[2];
  const std::string version = argv[3];
  for (const auto &entry : fs::directory_iterator(includeDir))
    if (entry.path().extension() == ".h") ReadHeader(entry.path());
  fs::remove_all(outDir / "man3");  // no page outlives its function
  fs::create_directories(outDir / "man3");

  std::string examples = "/* The examples of the manual pages, compiled to keep them right. */\n#include <stdio.h>\n\n";
  auto write = [&](const std::string &name, const std::string &page, const std::string &example) {
    if (page.empty()) return;
    std::ofstream(outDir / "man3" / (name + ".3")) << page;
    examples += example;
  };
  size_t count;
  const wsctl::Operation *operations = wsctl::Operations(&count);
  for (size_t i = 0; i < count; ++i) {
    std::string example;
    std::string page = ExportPage(operations[i], version, &example);
    write("DLL_WebService" + std::string(operations[i].name), page, example);
  }
  const std::map<std::string, Example> extensionExamples = ExtensionExamples();
  for (const auto &[name, declaration] : gFunctions) {
    if (name.rfind("WebService_", 0) != 0) continue;
    std::string example;
    std::string page = ExtensionPage(name, declaration, version, extensionExamples, &example);
    write(name, page, example);
  }
  std::ofstream(outDir / "examples.c") << examples;
  return gProblems ? 1 : 0;
}
