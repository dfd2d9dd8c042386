#include "transport_plugin.h"

#include "http_transport.h"
#include "tls_trust.h"
#include "webservice/Transport.h"

namespace ws {

const char kHttpTransportId[] = "wininet-2.0";

namespace {

int KeepSocket(struct soap *, SOAP_SOCKET) { return SOAP_OK; }
int KeepSocketOpen(struct soap *, SOAP_SOCKET, int) { return SOAP_OK; }
int RefuseCopy(struct soap *, struct soap_plugin *, struct soap_plugin *) { return SOAP_FATAL_ERROR; }

}  // namespace

void InstallTransport(struct soap *soap, struct soap_plugin *plugin, void *state, const TransportHooks &hooks) {
  plugin->id = kHttpTransportId;
  plugin->data = state;
  plugin->fcopy = RefuseCopy;
  plugin->fdelete = hooks.deleteState;
  soap->fopen = hooks.open;
  soap->fposthdr = hooks.postHeader;
  soap->fsend = hooks.send;
  soap->frecv = hooks.receive;
  soap->fclose = hooks.close;
  soap->fclosesocket = KeepSocket;
  soap->fshutdownsocket = KeepSocketOpen;
}

RetryDecision DecideRetry(RetryBudget &budget, int error, const char *url) {
  if (!budget.TakeRetry()) return RetryDecision::kStop;
  const int answer = AskResolveCallback(error, url);
  if (answer == WS_RESOLVE_ASK) return RetryDecision::kAskPlatform;
  return answer == WS_RESOLVE_RETRY ? RetryDecision::kRetry : RetryDecision::kStop;
}

}  // namespace ws
