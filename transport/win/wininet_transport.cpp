// HTTP transport on Windows: WinInet carries every exchange.
//
// The runtime frames the request and calls the five hooks; the transport
// opens a WinInet request per exchange, collects the header lines and the
// body, and sends them in one HttpSendRequestA.  WinInet writes its own
// request line and delivers only the answer's body, which the runtime reads
// as a message without HTTP header.
//
// Where this goes beyond a plain WinInet client, and why:
// - Time-outs go on the request handle as well as the internet handle: Wine's
//   WinInet ignores those of the internet handle.
// - Header lines are collected and added just before the send, after the
//   body's empty elements are written out in full (as the Linux transport
//   does); Content-Length is then the length actually sent.
// - The answer is read whole right after the send (still with
//   InternetReadFile), so that an answer over the library's size limit ends
//   the call with 20 as on Linux and the trace callback sees it; the receive
//   hook hands it out.
// - Resends after a resolve decision are bounded as on Linux (RetryBudget).
// - User-Agent is the 2.7 runtime's "gSOAP/2.7", as the Linux build sends it;
//   the request bytes are the Linux build's.
// - 12057 (revocation check failed) is also a retryable certificate error:
//   Wine reports a certificate of an unknown private authority so.
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "stdsoap2.h"
#include "transport/answer_buffer.h"
#include "transport/http_transport.h"
#include "transport/request_body.h"
#include "transport/retry_budget.h"
#include "transport/tls_trust.h"
#include "transport/trace.h"
#include "transport/transport_plugin.h"
#include "webservice/Transport.h"

namespace ws {

namespace {

constexpr size_t kHeaderLineSize = 4096;
constexpr DWORD kStatusConnectionClosed = 51;  // INTERNET_STATUS_CONNECTION_CLOSED
constexpr DWORD kErrorRevocationFailed = 12057;  // ERROR_INTERNET_SEC_CERT_REV_FAILED

struct TransportState : ContextTimeouts {
  HINTERNET internet = nullptr;
  HINTERNET connection = nullptr;
  std::atomic<bool> disconnect{false};  // set by the status callback, or on close
  unsigned requestFlags = 0;

  std::string url;
  std::vector<std::string> headerLines;  // in the runtime's order, one per name
  std::string body;
  size_t expectedLength = kUnknownLength;
  AnswerBuffer answer;
  unsigned long long answerLimit = 0;
  long httpStatus = 0;
};

TransportState *StateOf(struct soap *soap) {
  return static_cast<TransportState *>(soap_lookup_plugin(soap, kHttpTransportId));
}

HINTERNET RequestOf(const struct soap *soap) {
  return soap_valid_socket(soap->socket) ? reinterpret_cast<HINTERNET>(static_cast<uintptr_t>(soap->socket)) : nullptr;
}

// Connection test: drops the request and the connection when the
// platform reported the connection closed or there is no connection; true
// while a connection is there.
bool TestConnection(struct soap *soap, TransportState *state) {
  if (HINTERNET request = RequestOf(soap); request && (state->disconnect || !state->connection)) {
    InternetCloseHandle(request);
    soap->socket = SOAP_INVALID_SOCKET;
  }
  if (!RequestOf(soap) && state->connection) {
    InternetCloseHandle(state->connection);
    state->connection = nullptr;
  }
  state->disconnect = false;
  if (!RequestOf(soap)) {
    std::string().swap(state->body);
    state->expectedLength = kUnknownLength;
  }
  return state->connection != nullptr;
}

// The context's time-outs, as milliseconds, on an internet or request handle;
// a value below 1 second leaves the platform's default.
void ApplyTimeouts(HINTERNET handle, const TransportState *state) {
  const std::pair<DWORD, int> options[] = {{INTERNET_OPTION_CONNECT_TIMEOUT, state->connectTimeout},
                                           {INTERNET_OPTION_RECEIVE_TIMEOUT, state->receiveTimeout},
                                           {INTERNET_OPTION_SEND_TIMEOUT, state->sendTimeout}};
  for (const auto &[option, seconds] : options) {
    if (seconds < 1) continue;
    DWORD milliseconds = static_cast<DWORD>(seconds) * 1000;
    InternetSetOptionW(handle, option, &milliseconds, sizeof milliseconds);  // a failure is ignored
  }
}

void CALLBACK StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID, DWORD) {
  if (status != kStatusConnectionClosed || !context) return;
  auto *soap = reinterpret_cast<struct soap *>(context);
  if (TransportState *state = StateOf(soap); state && state->connection) state->disconnect = true;
}

// ---- decisions ----------------------------------------------------------

bool IsRetryable(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_INCORRECT_PASSWORD:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_HTTP_TO_HTTPS_ON_REDIR:
    case ERROR_INTERNET_POST_IS_NON_SECURE:
    case ERROR_INTERNET_INVALID_CA:
    case kErrorRevocationFailed: return true;
    default: return false;
  }
}

// The platform's interactive decision: its dialog, on the desktop window.
// Headless (as under Wine without a display) it returns at once: no retry.
bool ResolveSendError(HINTERNET request, DWORD error) {
  DWORD answer = InternetErrorDlg(GetDesktopWindow(), request, error,
                                  FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                                      FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
                                  nullptr);
  return error == ERROR_INTERNET_INCORRECT_PASSWORD ? answer == ERROR_INTERNET_FORCE_RETRY : answer == ERROR_SUCCESS;
}

// A resolve callback that answered retry for a certificate error vouches for
// this certificate on this request only (the request handle dies with the
// call).
void AcceptCertificate(HINTERNET request, DWORD error) {
  DWORD ignore = 0;
  switch (error) {
    case ERROR_INTERNET_INVALID_CA: ignore = SECURITY_FLAG_IGNORE_UNKNOWN_CA; break;
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID: ignore = SECURITY_FLAG_IGNORE_CERT_DATE_INVALID; break;
    case ERROR_INTERNET_SEC_CERT_CN_INVALID: ignore = SECURITY_FLAG_IGNORE_CERT_CN_INVALID; break;
    case kErrorRevocationFailed: ignore = SECURITY_FLAG_IGNORE_REVOCATION; break;
    default: return;
  }
  DWORD flags = 0, size = sizeof flags;
  InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size);
  flags |= ignore;
  InternetSetOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
}

// The send loop's decide step, where the user's decision is the platform dialog.
bool DecideRetry(HINTERNET request, const TransportState *state, DWORD error, RetryBudget &budget) {
  switch (DecideRetry(budget, static_cast<int>(error), state->url.c_str())) {
    case RetryDecision::kRetry: AcceptCertificate(request, error); return true;
    case RetryDecision::kAskPlatform: return ResolveSendError(request, error);
    default: return false;
  }
}

// ---- one attempt --------------------------------------------------------

// The request header as sent, one "Name: value" line each (no request line).
std::vector<std::string> SentHeaderLines(HINTERNET request) {
  std::vector<std::string> lines;
  DWORD size = 0;
  HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF | HTTP_QUERY_FLAG_REQUEST_HEADERS, nullptr, &size, nullptr);
  std::string raw(size + 1, '\0');
  if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF | HTTP_QUERY_FLAG_REQUEST_HEADERS, raw.data(), &size,
                      nullptr))
    return lines;
  raw.resize(size);
  size_t pos = raw.find("\r\n");  // after the request line
  while (pos != std::string::npos && pos + 2 < raw.size()) {
    const size_t end = raw.find("\r\n", pos + 2);
    std::string line = raw.substr(pos + 2, end == std::string::npos ? std::string::npos : end - pos - 2);
    if (!line.empty()) lines.push_back(std::move(line));
    pos = end;
  }
  return lines;
}

std::string AnswerHeaders(HINTERNET request) {
  DWORD size = 0;
  HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, nullptr, &size, nullptr);
  std::string raw(size + 1, '\0');
  if (!HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, raw.data(), &size, nullptr)) return {};
  raw.resize(size);
  return raw;
}

void TraceAttempt(HINTERNET request, TransportState *state, DWORD error) {
  if (!TraceEnabled()) return;
  try {
    const std::vector<std::string> sent = SentHeaderLines(request);
    TracedExchange exchange;
    exchange.url = state->url;
    exchange.httpStatus = state->httpStatus;
    exchange.error = static_cast<int>(error);
    exchange.requestHeaders = sent.empty() ? &state->headerLines : &sent;
    exchange.requestBody = state->body;
    const std::string headers = state->httpStatus ? AnswerHeaders(request) : std::string();
    exchange.answerHeaders = headers;
    exchange.answerBody = state->answer.Whole();
    TraceExchange(exchange);
  } catch (...) {
  }
}

// Reads the answer's body into the answer buffer; false when it is over the
// size limit.  A failed read keeps what arrived so far.
bool ReadAnswer(HINTERNET request, TransportState *state) {
  state->answer.Reset(state->answerLimit);
  DWORD length = 0, size = sizeof length;
  if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr) &&
      !state->answer.Expect(length))
    return false;
  char block[16384];
  for (;;) {
    DWORD read = 0;
    if (!InternetReadFile(request, block, sizeof block, &read) || read == 0) return true;
    if (!state->answer.Append(block, read)) return false;
  }
}

// Drops what is left of an answer before the request is sent again.
void DrainAnswer(HINTERNET request) {
  char block[4096];
  DWORD read = 0;
  while (InternetReadFile(request, block, sizeof block, &read) && read) {
  }
}

// The send loop: sends until an answer stands, a decision says stop
// or the retry bound is reached.
int SendLoop(struct soap *soap, TransportState *state) {
  HINTERNET request = RequestOf(soap);
  RetryBudget budget(state->ExchangeBudgetMs());
  for (bool resend = false;; resend = true) {
    if (resend) DrainAnswer(request);
    state->httpStatus = 0;
    state->answer.Reset(0);
    if (HttpSendRequestA(request, nullptr, 0, state->body.empty() ? nullptr : state->body.data(),
                         static_cast<DWORD>(state->body.size()))) {
      DWORD status = 0, size = sizeof status;
      if (!HttpQueryInfoW(request, HTTP_QUERY_FLAG_NUMBER | HTTP_QUERY_STATUS_CODE, &status, &size, nullptr)) {
        soap->error = static_cast<int>(GetLastError());
        TraceAttempt(request, state, static_cast<DWORD>(soap->error));
        return WS_STATUS_HTTP_ERROR;
      }
      state->httpStatus = static_cast<long>(status);
      const bool fits = ReadAnswer(request, state);
      TraceAttempt(request, state, 0);
      if (!fits) return SOAP_EOM;
      if ((status == 401 || status == 407) && DecideRetry(request, state, ERROR_INTERNET_INCORRECT_PASSWORD, budget)) {
        state->disconnect = false;
        continue;
      }
      return SOAP_OK;
    }
    const DWORD error = GetLastError();
    soap->error = static_cast<int>(error);
    TraceAttempt(request, state, error);
    if (IsRetryable(error) && DecideRetry(request, state, error, budget)) {
      state->disconnect = false;
      continue;
    }
    return WS_STATUS_HTTP_ERROR;
  }
}

// ---- runtime hooks ------------------------------------------------------

SOAP_SOCKET OpenHook(struct soap *soap, const char *endpoint, const char *, int) {
  TransportState *state = StateOf(soap);
  soap->error = SOAP_OK;
  state->disconnect = true;  // nothing of an earlier exchange stays open
  TestConnection(soap, state);
  state->url = endpoint;
  auto fail = [&](DWORD error) {
    soap->error = static_cast<int>(error);
    if (TraceEnabled()) {  // an attempt that never reached the device
      TracedExchange exchange;
      exchange.url = endpoint;
      exchange.error = static_cast<int>(error);
      TraceExchange(exchange);
    }
    return SOAP_INVALID_SOCKET;
  };
  char host[260] = "", path[260] = "";
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  if (!InternetCrackUrlA(endpoint, 0, 0, &parts)) return fail(GetLastError());
  HINTERNET connection = InternetConnectA(state->internet, host, parts.nPort, "", "", INTERNET_SERVICE_HTTP, 0,
                                          reinterpret_cast<DWORD_PTR>(soap));
  if (!connection) return fail(GetLastError());
  DWORD flags = state->requestFlags;
  if (soap->omode & SOAP_IO_KEEPALIVE) flags |= INTERNET_FLAG_KEEP_CONNECTION;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  HINTERNET request = HttpOpenRequestA(connection, "POST", *path ? path : "/", "HTTP/1.1", nullptr, nullptr, flags,
                                       reinterpret_cast<DWORD_PTR>(soap));
  if (!request) {
    const DWORD error = GetLastError();
    InternetCloseHandle(connection);
    return fail(error);
  }
  ApplyTimeouts(request, state);  // Wine's WinInet ignores those of the internet handle
  state->connection = connection;
  state->answerLimit = soap->recv_maxlength;
  state->headerLines.clear();
  return static_cast<SOAP_SOCKET>(reinterpret_cast<uintptr_t>(request));
}

int PostHeaderHook(struct soap *soap, const char *name, const char *value) {
  TransportState *state = StateOf(soap);
  soap->error = SOAP_OK;
  if (!TestConnection(soap, state)) return SOAP_EOF;
  if (!name) return SOAP_OK;  // end of the header
  if (!value) {               // the request line: WinInet writes its own
    state->expectedLength = kUnknownLength;
    state->body.clear();
    state->headerLines.clear();
    return SOAP_OK;
  }
  if (!strcasecmp(name, "Content-Length")) state->expectedLength = std::strtoull(value, nullptr, 10);
  // The 2.7 runtime's agent, as the Linux build sends it: WinInet adds the
  // internet handle's agent ("gSOAP") only when the request has none.
  if (!strcasecmp(name, "User-Agent")) value = "gSOAP/2.7";
  const size_t nameLength = std::strlen(name), valueLength = std::strlen(value);
  if (nameLength + 4 + valueLength >= kHeaderLineSize) return SOAP_EOM;  // "name: value\r\n" and its end
  for (const std::string &h : state->headerLines)  // added only if not there yet
    if (!strncasecmp(h.c_str(), name, nameLength) && h[nameLength] == ':') return SOAP_OK;
  try {
    state->headerLines.push_back(std::string(name, nameLength) + ": " + std::string(value, valueLength));
  } catch (...) {
    return SOAP_EOM;
  }
  return SOAP_OK;
}

// Adds the collected header lines to the request, Content-Length as sent.
void AddHeaders(HINTERNET request, TransportState *state) {
  for (std::string &line : state->headerLines) {
    if (!strncasecmp(line.c_str(), "Content-Length:", 15)) line = "Content-Length: " + std::to_string(state->body.size());
    const std::string text = line + "\r\n";
    HttpAddRequestHeadersA(request, text.c_str(), static_cast<DWORD>(text.size()), HTTP_ADDREQ_FLAG_ADD_IF_NEW);
  }
}

int SendHook(struct soap *soap, const char *bytes, size_t length) {
  TransportState *state = StateOf(soap);
  soap->error = SOAP_OK;
  if (!TestConnection(soap, state)) return SOAP_EOF;
  switch (CollectBody(state->body, state->expectedLength, bytes, length)) {
    case BodyProgress::kMore: return SOAP_OK;
    case BodyProgress::kNoMemory: return SOAP_EOM;
    case BodyProgress::kWhole: break;
  }
  try {
    AddHeaders(RequestOf(soap), state);
  } catch (...) {
    return SOAP_EOM;
  }
  const int result = SendLoop(soap, state);
  std::string().swap(state->body);
  state->expectedLength = kUnknownLength;
  return result;
}

size_t ReceiveHook(struct soap *soap, char *buffer, size_t size) { return StateOf(soap)->answer.Read(buffer, size); }

int CloseHook(struct soap *soap) {
  TransportState *state = StateOf(soap);
  state->disconnect = true;
  TestConnection(soap, state);
  return SOAP_OK;
}

void DeleteState(struct soap *soap, struct soap_plugin *plugin) {
  auto *state = static_cast<TransportState *>(plugin->data);
  state->disconnect = true;
  if (StateOf(soap) == state) TestConnection(soap, state);
  if (state->connection) InternetCloseHandle(state->connection);
  if (state->internet) InternetCloseHandle(state->internet);
  delete state;
}

void TakeTimeouts(TransportState *state, const struct soap *soap) {
  state->Take(soap);
  ApplyTimeouts(state->internet, state);
}

int CreateState(struct soap *soap, struct soap_plugin *plugin, void *flags) {
  auto *state = new (std::nothrow) TransportState;
  if (!state) return SOAP_EOM;
  state->requestFlags = *static_cast<unsigned *>(flags);
  state->internet = InternetOpenA("gSOAP", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!state->internet) {
    soap->error = static_cast<int>(GetLastError());
    delete state;
    return SOAP_EOM;
  }
  TakeTimeouts(state, soap);
  InternetSetStatusCallbackW(state->internet, StatusCallback);
  // The socket slot holds a WinInet request handle: the runtime must not
  // treat it as a socket.
  InstallTransport(soap, plugin, state, {OpenHook, PostHeaderHook, SendHook, ReceiveHook, CloseHook, DeleteState});
  return SOAP_OK;
}

}  // namespace

int RegisterHttpTransport(struct soap *soap, unsigned requestFlags) {
  if (TransportState *state = StateOf(soap)) {
    // The runtime keeps the first registration of an id (2.8): it takes the
    // new values, on its internet handle and on the next request.
    state->requestFlags = requestFlags;
    TakeTimeouts(state, soap);
    return SOAP_OK;
  }
  return soap_register_plugin_arg(soap, CreateState, &requestFlags);
}

}  // namespace ws
