// The golden exchange files, tests/golden/<Op>.txt: sections that start with
// a line "--- name (kind)", in fours per exchange: the request record (JSON),
// the SOAP body sent, the device's answer (XML) and the response record
// (JSON).  Lines before the first section are a comment.
#pragma once

#include <string>
#include <vector>

struct GoldenSection {
  std::string name, kind, text;  // text without its last newline
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

// What the fake device sends for an answer section: the section inside a SOAP
// 1.1 envelope that declares the base namespace as ns1.
std::string AnswerEnvelope(const std::string &answer);
// The first answer of operation op's file, in its envelope.
std::string GoldenAnswer(const std::string &op);
// The whole HTTP request an export sends with SOAP body body to the fake
// device on port: the header lines and envelope are the same for every
// operation, the action and length its own.
std::string ExpectedRequest(const std::string &op, const std::string &body, int port);
