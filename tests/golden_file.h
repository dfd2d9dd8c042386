// The golden exchange files, tests/golden/<Op>.txt: sections that start with
// a line "--- name (kind) label", per exchange: the request record (JSON),
// optionally the response record as the caller filled it before the call
// (JSON, "response before"), the SOAP body sent, the device's answer (XML)
// and the response record (JSON).  The label is free text after the kind; the
// one of an exchange's request names the exchange.  Lines before the first
// section are a comment.
#pragma once

#include <string>
#include <vector>

struct GoldenSection {
  std::string name, kind, label, text;  // text without its last newline
};

// One exchange of a file: its sections in order, "response before" null when
// the file leaves it out (the record then starts zero-filled).
struct GoldenExchange {
  GoldenSection *request, *before, *body, *answer, *response;
};

struct GoldenFile {
  std::string path;
  std::string comment;
  std::vector<GoldenSection> sections;
};

// The file of operation op; no sections when it is missing or empty.
GoldenFile ReadGoldenFile(const std::string &op);
// The file's text, as ReadGoldenFile read it.
std::string PrintGoldenFile(const GoldenFile &file);
// The file's sections grouped into exchanges; an empty string, or what is out
// of order.
std::string GoldenExchanges(GoldenFile &file, std::vector<GoldenExchange> *exchanges);

// What the fake device sends for an answer section: the section inside a SOAP
// 1.1 envelope that declares the base namespace as ns1.
std::string AnswerEnvelope(const std::string &answer);
// The answer of operation op's exchange labelled label (the first exchange
// when label is empty), in its envelope; empty when there is none.
std::string GoldenAnswer(const std::string &op, const std::string &label = "");
// The answer with the text of its first element named element (whatever its
// prefix) replaced by text: for answers too large to keep in a file.
std::string WithText(std::string answer, const std::string &element, const std::string &text);
// The whole HTTP request an export sends with SOAP body body to the fake
// device on port: the header lines and envelope are the same for every
// operation, the action and length its own.
std::string ExpectedRequest(const std::string &op, const std::string &body, int port);
