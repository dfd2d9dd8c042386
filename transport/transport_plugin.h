// What every platform's HTTP transport does the same way around the
// runtime's plug-in: the id it registers under, the five I/O hooks it puts in
// the context's place, the context's time-outs it takes, and the decide step
// of its send loop.  The platform files keep what they do with the platform's
// HTTP client.
#pragma once

#include <cstddef>

#include "stdsoap2.h"
#include "retry_budget.h"

namespace ws {

// Seconds as milliseconds; 0 or less (the platform's default) stays 0.
inline long Milliseconds(int seconds) { return seconds > 0 ? seconds * 1000L : 0L; }

// The context's time-outs in seconds, taken when the transport registers;
// 0 or less leaves the platform's default.
struct ContextTimeouts {
  int connectTimeout = 0;
  int sendTimeout = 0;
  int receiveTimeout = 0;

  void Take(const struct soap *soap) {
    connectTimeout = soap->connect_timeout;
    sendTimeout = soap->send_timeout;
    receiveTimeout = soap->recv_timeout;
  }
  // The time one exchange may take, resends included: the three added up.
  long ExchangeBudgetMs() const {
    return Milliseconds(connectTimeout) + Milliseconds(sendTimeout) + Milliseconds(receiveTimeout);
  }
};

struct TransportHooks {
  SOAP_SOCKET (*open)(struct soap *soap, const char *endpoint, const char *host, int port);
  int (*postHeader)(struct soap *soap, const char *name, const char *value);
  int (*send)(struct soap *soap, const char *bytes, size_t length);
  size_t (*receive)(struct soap *soap, char *buffer, size_t size);
  int (*close)(struct soap *soap);
  void (*deleteState)(struct soap *soap, struct soap_plugin *plugin);
};

// Makes plugin the transport's, holding state (released by
// hooks.deleteState; the plug-in is never copied), and routes the context's
// I/O through the hooks.  The runtime is kept away from the value the open
// hook returns: it is no socket of the runtime's to close or shut down.
void InstallTransport(struct soap *soap, struct soap_plugin *plugin, void *state, const TransportHooks &hooks);

// The decide step of the send loop, after a retryable error or a 401/407.
// Within the retry bound the application's resolve callback decides; where it
// leaves the decision to the user (none installed, or it asked to), the
// platform's own way of asking decides.
enum class RetryDecision { kStop, kRetry, kAskPlatform };
RetryDecision DecideRetry(RetryBudget &budget, int error, const char *url);

}  // namespace ws
