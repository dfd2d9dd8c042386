// HTTP transport: a direct path for http, libcurl for https.
//
// The runtime frames the request; the transport collects it: each header line
// is kept once, in the runtime's order, and the body is buffered until
// Content-Length bytes are there.  Then the request goes out in one exchange:
// over http as one send of request line, header and body on the socket the
// open hook connected (plain_http.h); over https through libcurl, which is
// handed the same socket.  Either way only the answer's body reaches the
// runtime, which reads it as a message without HTTP header.
//
// The open hook resolves the host and connects, so that a host that cannot be
// resolved or reached ends the call with the platform error number at once.
#include "http_transport.h"

#include <curl/curl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "stdsoap2.h"
#include "answer_buffer.h"
#include "plain_http.h"
#include "request_body.h"
#include "retry_budget.h"
#include "tls_trust.h"
#include "trace.h"
#include "transport_plugin.h"
#include "webservice/Transport.h"

namespace ws {

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kHeaderLineSize = 4096;
constexpr unsigned kFlagIgnoreCertificateHost = 0x1000;

struct TransportState : ContextTimeouts {
  unsigned requestFlags = 0;

  // The current request, between the open and the close hook.
  bool open = false;
  bool plain = false;       // http: the direct path; https: libcurl
  CURL *request = nullptr;  // https only
  std::vector<std::string> headerLines;  // in the runtime's order, one per name
  curl_slist *headers = nullptr;
  curl_slist *resolve = nullptr;
  std::string url;
  int connectedSocket = -1;  // connected by the open hook; handed to libcurl once over https
  sockaddr_storage address{};  // where it connected, for a resend on a new connection
  socklen_t addressLength = 0;
  std::string requestLine;     // the direct path's, as the runtime wrote it
  std::string head;            // the direct path's request line and header
  long httpStatus = 0;         // of the last attempt's answer
  bool failed = false;         // the last attempt ended without an answer

  std::string body;
  size_t expectedLength = kUnknownLength;
  AnswerBuffer answer;
  std::string answerHeaders;  // collected only while tracing
  unsigned long long answerLimit = 0;

  // Idle tracking for the send and receive time-outs.
  Clock::time_point lastProgress;
  curl_off_t lastUploaded = 0;
  curl_off_t lastDownloaded = 0;
  bool acceptCertificateOnce = false;
  bool socketArrivesConnected = false;
  std::shared_ptr<Trust> trust;  // the trust generation of the current request
};

// The platform client keeps one idle request handle per thread, reset before
// each use: a handle costs more to build than an exchange on loopback.  It
// carries nothing from one request to the next; connections are never reused.
struct IdleHandle {
  CURL *handle = nullptr;
  ~IdleHandle() {
    if (handle) curl_easy_cleanup(handle);
  }
};
thread_local IdleHandle tIdleHandle;

CURL *TakeHandle() {
  CURL *handle = tIdleHandle.handle;
  tIdleHandle.handle = nullptr;
  if (!handle) return curl_easy_init();
  curl_easy_reset(handle);
  return handle;
}

void ReturnHandle(CURL *handle) {
  if (!handle) return;
  if (tIdleHandle.handle)
    curl_easy_cleanup(handle);
  else
    tIdleHandle.handle = handle;
}

TransportState *StateOf(struct soap *soap) {
  return static_cast<TransportState *>(soap_lookup_plugin(soap, kHttpTransportId));
}

void CloseRequest(TransportState *state) {
  if (state->request) curl_easy_setopt(state->request, CURLOPT_SHARE, nullptr);
  ReturnHandle(state->request);
  state->request = nullptr;
  state->open = false;
  state->trust.reset();
  state->headerLines.clear();
  curl_slist_free_all(state->headers);
  state->headers = nullptr;
  curl_slist_free_all(state->resolve);
  state->resolve = nullptr;
  CloseSocket(state->connectedSocket, state->failed);
  state->connectedSocket = -1;
  state->failed = false;
  state->body.clear();
  state->expectedLength = kUnknownLength;
  state->answer.Reset(0);
}

// ---- connecting ---------------------------------------------------------

// Resolves host and connects to port; on success stores the socket and its
// address (and, for libcurl, the address to use).  Returns 0 or a platform
// error number.
int Connect(TransportState *state, const char *host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  char service[16];
  std::snprintf(service, sizeof service, "%d", port);
  if (::getaddrinfo(host, service, &hints, &found) || !found) return WS_ERROR_NAME_NOT_RESOLVED;
  int status = WS_ERROR_CANNOT_CONNECT;
  for (addrinfo *a = found; a && status; a = a->ai_next) {
    int fd = ConnectTo(a->ai_addr, a->ai_addrlen, Milliseconds(state->connectTimeout), &status);
    if (fd < 0) continue;
    status = 0;
    std::memcpy(&state->address, a->ai_addr, a->ai_addrlen);
    state->addressLength = a->ai_addrlen;
    char address[NI_MAXHOST];
    if (!state->plain &&
        ::getnameinfo(a->ai_addr, a->ai_addrlen, address, sizeof address, nullptr, 0, NI_NUMERICHOST) == 0) {
      std::string entry = std::string(host) + ":" + service + ":" + (a->ai_family == AF_INET6 ? "[" + std::string(address) + "]" : std::string(address));
      state->resolve = curl_slist_append(nullptr, entry.c_str());
    }
    state->connectedSocket = fd;
  }
  ::freeaddrinfo(found);
  return status;
}

curl_socket_t OpenSocket(void *data, curlsocktype, curl_sockaddr *address) {
  auto *state = static_cast<TransportState *>(data);
  if (state->connectedSocket >= 0) {
    int fd = state->connectedSocket;
    state->connectedSocket = -1;  // libcurl owns it from now on
    state->socketArrivesConnected = true;
    return fd;  // already non-blocking
  }
  // A retried request connects anew.
  return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

int SocketOptions(void *data, curl_socket_t, curlsocktype) {
  // The first socket arrives connected; a new one for a retry does not.
  auto *state = static_cast<TransportState *>(data);
  bool connected = state->socketArrivesConnected;
  state->socketArrivesConnected = false;
  return connected ? CURL_SOCKOPT_ALREADY_CONNECTED : CURL_SOCKOPT_OK;
}

// ---- error numbers ------------------------------------------------------

int CertificateError(CURL *request) {
  long verify = 0;
  curl_easy_getinfo(request, CURLINFO_SSL_VERIFYRESULT, &verify);
  // X509_V_ERR_CERT_NOT_YET_VALID (9) and X509_V_ERR_CERT_HAS_EXPIRED (10).
  return (verify == 9 || verify == 10) ? WS_ERROR_SEC_CERT_DATE_INVALID : WS_ERROR_INVALID_CA;
}

// libcurl's result of a send onto the platform error numbers.
int PlatformError(CURLcode code, CURL *request) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return WS_ERROR_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT: return WS_ERROR_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK: return WS_ERROR_TIMEOUT;
    case CURLE_URL_MALFORMAT: return WS_ERROR_INVALID_URL;
    case CURLE_PEER_FAILED_VERIFICATION: return CertificateError(request);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return WS_ERROR_SECURITY_CHANNEL_ERROR;
    case CURLE_SEND_ERROR: return WS_ERROR_CONNECTION_ABORTED;
    case CURLE_RECV_ERROR: return WS_ERROR_CONNECTION_RESET;
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_WEIRD_SERVER_REPLY: return WS_ERROR_INVALID_SERVER_RESPONSE;
    default: return WS_ERROR_INTERNAL;
  }
}

bool IsRetryable(int error) {
  switch (error) {
    case WS_ERROR_INCORRECT_PASSWORD:
    case WS_ERROR_SEC_CERT_DATE_INVALID:
    case WS_ERROR_SEC_CERT_CN_INVALID:
    case WS_ERROR_HTTP_TO_HTTPS_ON_REDIR:
    case WS_ERROR_POST_IS_NON_SECURE:
    case WS_ERROR_INVALID_CA: return true;
    default: return false;
  }
}

// No interactive dialog on this platform: the library's own answer is no retry.
bool ResolveSendError(int) { return false; }

bool DecideRetry(const TransportState *state, int error, RetryBudget &budget) {
  switch (DecideRetry(budget, error, state->url.c_str())) {
    case RetryDecision::kRetry: return true;
    case RetryDecision::kAskPlatform: return ResolveSendError(error);
    default: return false;
  }
}

// ---- libcurl callbacks --------------------------------------------------

size_t StoreAnswer(char *bytes, size_t size, size_t count, void *data) {
  auto *state = static_cast<TransportState *>(data);
  AnswerBuffer &answer = state->answer;
  if (answer.size() == 0) {
    // Before the first byte: an answer announced over the limit ends here.
    curl_off_t announced = -1;
    curl_easy_getinfo(state->request, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    if (announced >= 0 && !answer.Expect(static_cast<unsigned long long>(announced))) return 0;
  }
  return answer.Append(bytes, size * count) ? size * count : 0;
}

// Ends the exchange when nothing moved for longer than the send time-out
// (while the request is going out) or the receive time-out (afterwards).
int WatchIdle(void *data, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
  auto *state = static_cast<TransportState *>(data);
  Clock::time_point now = Clock::now();
  if (uploaded != state->lastUploaded || downloaded != state->lastDownloaded) {
    state->lastUploaded = uploaded;
    state->lastDownloaded = downloaded;
    state->lastProgress = now;
    return 0;
  }
  bool sending = static_cast<size_t>(uploaded) < state->body.size();
  long limit = Milliseconds(sending ? state->sendTimeout : state->receiveTimeout);
  return limit && now - state->lastProgress > std::chrono::milliseconds(limit);
}

CURLcode PrepareTls(CURL *, void *sslContext, void *data) {
  return static_cast<TransportState *>(data)->trust->Install(sslContext);
}

size_t StoreAnswerHeader(char *bytes, size_t size, size_t count, void *data) {
  try {
    static_cast<TransportState *>(data)->answerHeaders.append(bytes, size * count);
  } catch (...) {
  }
  return size * count;
}

// Hands one attempt to the exchange trace.
void TraceAttempt(TransportState *state, CURLcode code) {
  TracedExchange exchange;
  exchange.url = state->url;
  exchange.httpStatus = state->httpStatus;
  exchange.error = code == CURLE_OK || code == CURLE_GOT_NOTHING ? 0 : PlatformError(code, state->request);
  exchange.requestHeaders = &state->headerLines;
  exchange.requestBody = state->body;
  exchange.answerHeaders = state->answerHeaders;
  exchange.answerBody = state->answer.Whole();
  TraceExchange(exchange);
}

// ---- one exchange -------------------------------------------------------

CURLcode SendOnce(TransportState *state, const RetryBudget &budget) {
  CURL *r = state->request;
  // A device that trickles its answer is bounded by the sum of the time-outs,
  // resends included.
  curl_easy_setopt(r, CURLOPT_TIMEOUT_MS, budget.RemainingMs());
  state->answer.Reset(state->answerLimit);
  state->lastProgress = Clock::now();
  state->lastDownloaded = 0;
  curl_easy_setopt(r, CURLOPT_POSTFIELDS, state->body.data());
  curl_easy_setopt(r, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(state->body.size()));
  curl_easy_setopt(r, CURLOPT_SSL_VERIFYPEER, state->acceptCertificateOnce ? 0L : 1L);
  state->acceptCertificateOnce = false;
  state->lastUploaded = 0;
  const bool tracing = TraceEnabled();
  state->answerHeaders.clear();
  curl_easy_setopt(r, CURLOPT_HEADERFUNCTION, tracing ? StoreAnswerHeader : nullptr);
  curl_easy_setopt(r, CURLOPT_HEADERDATA, tracing ? state : nullptr);
  CURLcode code = curl_easy_perform(r);
  state->httpStatus = 0;
  curl_easy_getinfo(r, CURLINFO_RESPONSE_CODE, &state->httpStatus);
  if (tracing) TraceAttempt(state, code);
  return code;
}

// One attempt on the direct path; a resend goes over a new connection.
CURLcode SendPlainOnce(TransportState *state, const RetryBudget &budget) {
  if (state->connectedSocket < 0) {
    int error = 0;
    state->connectedSocket = ConnectTo(reinterpret_cast<const sockaddr *>(&state->address), state->addressLength,
                                       Milliseconds(state->connectTimeout), &error);
    if (state->connectedSocket < 0) return error == WS_ERROR_TIMEOUT ? CURLE_OPERATION_TIMEDOUT : CURLE_COULDNT_CONNECT;
  }
  PlainHttpLimits limits;
  limits.sendIdleMs = Milliseconds(state->sendTimeout);
  limits.receiveIdleMs = Milliseconds(state->receiveTimeout);
  limits.totalMs = budget.RemainingMs();
  limits.answerLimit = state->answerLimit;
  const bool tracing = TraceEnabled();
  PlainHttpAnswer answer;
  answer.body = &state->answer;
  answer.headers = tracing ? &state->answerHeaders : nullptr;
  CURLcode code = PlainHttpExchange(state->connectedSocket, state->head, state->body, limits, answer);
  state->httpStatus = answer.status;
  CloseSocket(state->connectedSocket, code != CURLE_OK);
  state->connectedSocket = -1;
  if (tracing) TraceAttempt(state, code);
  return code;
}

// Sends the buffered request until it succeeds, a decision says stop or the
// retry budget is spent; then the last answer stands.
int SendLoop(struct soap *soap, TransportState *state) {
  RetryBudget budget(state->ExchangeBudgetMs());
  for (;;) {
    CURLcode code = state->plain ? SendPlainOnce(state, budget) : SendOnce(state, budget);
    if (code == CURLE_GOT_NOTHING) return 0;  // closed without an answer: no body
    if (state->answer.tooLarge()) return SOAP_EOM;
    if (code == CURLE_OK) {
      const long status = state->httpStatus;
      if (status == 0) {
        soap->error = WS_ERROR_INVALID_SERVER_RESPONSE;
        return WS_STATUS_HTTP_ERROR;
      }
      if ((status == 401 || status == 407) && DecideRetry(state, WS_ERROR_INCORRECT_PASSWORD, budget)) continue;
      return 0;
    }
    int error = PlatformError(code, state->request);
    soap->error = error;
    state->failed = true;
    if (IsRetryable(error) && DecideRetry(state, error, budget)) {
      state->acceptCertificateOnce = error != WS_ERROR_INCORRECT_PASSWORD;
      continue;
    }
    return WS_STATUS_HTTP_ERROR;
  }
}

// ---- runtime hooks ------------------------------------------------------

SOAP_SOCKET OpenHook(struct soap *soap, const char *endpoint, const char *host, int port) {
  // The runtime has split the endpoint already: host (without brackets) and
  // port, the scheme's default when the URL names none.
  TransportState *state = StateOf(soap);
  soap->error = SOAP_OK;
  CloseRequest(state);
  int error = 0;
  const bool https = !std::strncmp(endpoint, "https://", 8);
  if (!https && std::strncmp(endpoint, "http://", 7))
    error = WS_ERROR_UNRECOGNIZED_SCHEME;
  else if (!host || !*host || port <= 0)
    error = WS_ERROR_INVALID_URL;
  if (!error) {
    state->url = endpoint;
    state->plain = !https;
    error = Connect(state, host, port);
  }
  if (!error && https && !(state->request = TakeHandle())) error = WS_ERROR_INTERNAL;
  if (error) {
    if (TraceEnabled()) {  // an attempt that never reached the device
      TracedExchange exchange;
      exchange.url = endpoint;
      exchange.error = error;
      TraceExchange(exchange);
    }
    CloseRequest(state);
    soap->error = error;
    return SOAP_INVALID_SOCKET;
  }
  state->open = true;
  state->answerLimit = soap->recv_maxlength;
  if (state->plain) return state->connectedSocket;
  CURL *r = state->request;
  curl_easy_setopt(r, CURLOPT_URL, endpoint);
  curl_easy_setopt(r, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(r, CURLOPT_PROXY, "");
  curl_easy_setopt(r, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(r, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(r, CURLOPT_RESOLVE, state->resolve);
  curl_easy_setopt(r, CURLOPT_OPENSOCKETFUNCTION, OpenSocket);
  curl_easy_setopt(r, CURLOPT_OPENSOCKETDATA, state);
  curl_easy_setopt(r, CURLOPT_SOCKOPTFUNCTION, SocketOptions);
  curl_easy_setopt(r, CURLOPT_SOCKOPTDATA, state);
  curl_easy_setopt(r, CURLOPT_WRITEFUNCTION, StoreAnswer);
  curl_easy_setopt(r, CURLOPT_WRITEDATA, state);
  curl_easy_setopt(r, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(r, CURLOPT_XFERINFOFUNCTION, WatchIdle);
  curl_easy_setopt(r, CURLOPT_XFERINFODATA, state);
  curl_easy_setopt(r, CURLOPT_CONNECTTIMEOUT_MS, Milliseconds(state->connectTimeout));
  curl_easy_setopt(r, CURLOPT_SSL_VERIFYHOST, (state->requestFlags & kFlagIgnoreCertificateHost) ? 0L : 2L);
  curl_easy_setopt(r, CURLOPT_CAINFO, nullptr);
  curl_easy_setopt(r, CURLOPT_CAPATH, nullptr);
#if LIBCURL_VERSION_NUM >= 0x075700
  // libcurl would otherwise keep the first store it saw with the handle and
  // verify later requests against it, whatever the trust settings became.
  curl_easy_setopt(r, CURLOPT_CA_CACHE_TIMEOUT, 0L);
#endif
  curl_easy_setopt(r, CURLOPT_SSL_CTX_FUNCTION, PrepareTls);
  curl_easy_setopt(r, CURLOPT_SSL_CTX_DATA, state);
  state->trust = CurrentTrust();
  state->trust->Share(r);
  return state->connectedSocket;
}

int PostHeaderHook(struct soap *soap, const char *name, const char *value) {
  TransportState *state = StateOf(soap);
  soap->error = SOAP_OK;
  if (!state->open) return SOAP_EOF;
  if (!name) return SOAP_OK;  // end of the header
  if (!value) {               // the request line: libcurl writes its own
    state->expectedLength = kUnknownLength;
    state->body.clear();
    if (state->plain) state->requestLine = name;
    return SOAP_OK;
  }
  if (!strcasecmp(name, "Content-Length")) state->expectedLength = std::strtoull(value, nullptr, 10);
  if (!strcasecmp(name, "User-Agent")) value = "gSOAP/2.7";
  const size_t nameLength = std::strlen(name), valueLength = std::strlen(value);
  if (nameLength + 2 + valueLength >= kHeaderLineSize) return SOAP_EOM;  // "name: value" and its end
  for (const std::string &h : state->headerLines)
    if (!strncasecmp(h.c_str(), name, nameLength) && h[nameLength] == ':') return SOAP_OK;
  try {
    std::string &line = state->headerLines.emplace_back();
    line.reserve(nameLength + 2 + valueLength);
    line.append(name, nameLength).append(": ", 2).append(value, valueLength);
  } catch (...) {
    return SOAP_EOM;
  }
  return SOAP_OK;
}

// The body may have grown since the runtime announced its length.
void StoreContentLength(TransportState *state) {
  for (std::string &line : state->headerLines)
    if (!strncasecmp(line.c_str(), "Content-Length:", 15)) line = "Content-Length: " + std::to_string(state->body.size());
}

// The direct path's head: the runtime's request line and header lines.
void BuildRequestHead(TransportState *state) {
  StoreContentLength(state);
  std::string &head = state->head;
  head.clear();
  head.append(state->requestLine).append("\r\n");
  for (const std::string &line : state->headerLines) head.append(line).append("\r\n");
  head.append("\r\n");
}

// Builds libcurl's header list: the runtime's lines (Content-Length as sent),
// then blank Accept and Expect so that libcurl adds none of its own.
bool BuildHeaderList(TransportState *state) {
  StoreContentLength(state);
  state->headerLines.emplace_back("Accept:");
  state->headerLines.emplace_back("Expect:");
  for (const std::string &line : state->headerLines) {
    curl_slist *headers = curl_slist_append(state->headers, line.c_str());
    if (!headers) return false;
    state->headers = headers;
  }
  return curl_easy_setopt(state->request, CURLOPT_HTTPHEADER, state->headers) == CURLE_OK;
}

int SendHook(struct soap *soap, const char *bytes, size_t length) {
  TransportState *state = StateOf(soap);
  soap->error = SOAP_OK;
  if (!state->open) return SOAP_EOF;
  switch (CollectBody(state->body, state->expectedLength, bytes, length)) {
    case BodyProgress::kMore: return SOAP_OK;
    case BodyProgress::kNoMemory: return SOAP_EOM;
    case BodyProgress::kWhole: break;
  }
  // The whole body is there: finish the header and send.
  try {
    if (state->plain)
      BuildRequestHead(state);
    else if (!BuildHeaderList(state))
      return SOAP_EOM;
  } catch (...) {
    return SOAP_EOM;
  }
  int result = SendLoop(soap, state);
  state->body.clear();
  state->expectedLength = kUnknownLength;
  return result;
}

size_t ReceiveHook(struct soap *soap, char *buffer, size_t size) {
  return StateOf(soap)->answer.Read(buffer, size);
}

int CloseHook(struct soap *soap) {
  CloseRequest(StateOf(soap));
  return SOAP_OK;
}

void DeleteState(struct soap *, struct soap_plugin *plugin) {
  auto *state = static_cast<TransportState *>(plugin->data);
  CloseRequest(state);
  delete state;
}

int CreateState(struct soap *soap, struct soap_plugin *plugin, void *flags) {
  auto *state = new (std::nothrow) TransportState;
  if (!state) return SOAP_EOM;
  state->requestFlags = *static_cast<unsigned *>(flags);
  state->Take(soap);
  InstallTransport(soap, plugin, state, {OpenHook, PostHeaderHook, SendHook, ReceiveHook, CloseHook, DeleteState});
  return SOAP_OK;
}

}  // namespace

int RegisterHttpTransport(struct soap *soap, unsigned requestFlags) {
  if (TransportState *state = StateOf(soap)) {
    // The runtime keeps the first registration of an id: give it the new values.
    state->requestFlags = requestFlags;
    state->Take(soap);
    return SOAP_OK;
  }
  return soap_register_plugin_arg(soap, CreateState, &requestFlags);
}

}  // namespace ws
