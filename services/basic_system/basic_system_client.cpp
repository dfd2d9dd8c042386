#include "basic_system_client.h"

#include <syslog.h>

#include "core/call_frame.h"
#include "transport/tls_trust.h"

namespace ws {

int BasicSystemClient::GetMaxChannel(const void *, IntValueRecord *response) {
  _ns1__GetMaxChannel wire;
  return WS_INVOKE_FOR_INT_VALUE(GetMaxChannel, &wire, response);
}

int BasicSystemClient::GetChannelList(const void *, ChannelListRecord *response) {
  _ns1__GetChannelList wire;
  _ns1__GetChannelListResponse answer;
  if (int status = WS_INVOKE(GetChannelList, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (!answer.GetChannelListResult) return 0;
  const std::vector<int> &channels = answer.GetChannelListResult->int_;
  // The record holds four channels; count reports what the device listed.
  for (size_t i = 0; i < channels.size() && i < 4; ++i) response->channel[i] = channels[i];
  response->count = static_cast<int>(channels.size());
  return 0;
}

int BasicSystemClient::GetVersion(const void *, VersionRecord *response) {
  _ns1__GetVersion wire;
  _ns1__GetVersionResponse answer;
  if (int status = WS_INVOKE(GetVersion, &wire, answer)) return status;
  response->resultCode = answer.resultCode;
  if (const ns1__Version_USCORET *version = answer.GetVersionResult) {
    CopyTextIfPresent(response->swVersion, version->swVersion);
    CopyTextIfPresent(response->hwVersion, version->hwVersion);
    CopyTextIfPresent(response->fwVersion, version->fwVersion);
  }
  return 0;
}

int BasicSystemClient::GetSpecProfile(const void *, ParameterListRecord *response) {
  _ns1__GetSpecProfile wire;
  return WS_INVOKE_FOR_PARAMETER_LIST(GetSpecProfile, &wire, response);
}

int BasicSystemClient::GetFunctionMap(const char *request, ParameterListRecord *response) {
  _ns1__GetFunctionMap wire;
  wire.category = SendText(request);
  return WS_INVOKE_FOR_PARAMETER_LIST(GetFunctionMap, &wire, response);
}

int BasicSystemClient::GetDeviceInformation(const void *, ParameterListRecord *response) {
  _ns1__GetDeviceInformation wire;
  return WS_INVOKE_FOR_PARAMETER_LIST(GetDeviceInformation, &wire, response);
}

int BasicSystemClient::GetMaxStreamConnection(const void *, IntValueRecord *response) {
  _ns1__GetMaxStreamConnection wire;
  return WS_INVOKE_FOR_INT_VALUE(GetMaxStreamConnection, &wire, response);
}

int BasicSystemClient::SetMaxStreamConnection(const int32_t *request, CallResult *response) {
  _ns1__SetMaxStreamConnection wire;
  wire.size = *request;
  return WS_INVOKE_FOR_CALL_RESULT(SetMaxStreamConnection, &wire, response);
}

int BasicSystemClient::ProbeVersion(const char *host, const char *user, const char *password, const void *request,
                                    VersionRecord *response, ConnectionInfo *conn) {
  // Both attempts fill one working copy, which reaches the caller only when
  // the call succeeds.
  VersionRecord version = *response;
  auto attempt = [&](int kind) {
    conn->endpointKind = kind;
    if (BuildEndpoint(host, user, password, conn) != 0) return -1;
    int status = GetVersion(request, &version);
    ReleaseEndpoint();
    return status;
  };
  int status = attempt(ENDPOINT_KIND_SOAP_PATH);
  // One debug line per call, after the first attempt: the system log at debug level.
  syslog(LOG_USER | LOG_DEBUG, "GetVersion_after endpointType: %d soapRet:%d apiRsp:%d IP : %s \n",
         static_cast<int>(conn->endpointKind), status, static_cast<int>(version.resultCode), host);
  // After https, plain http would carry the credentials in clear.
  const bool secondAttemptAllowed = !conn->useHttps || PlainHttpProbeAllowed();
  if (secondAttemptAllowed && (status != 0 || version.swVersion[0] == '\0')) status = attempt(ENDPOINT_KIND_PORT_81);
  if (status == 0) *response = version;
  return status;
}

}  // namespace ws

#define WS_BASIC_SYSTEM_EXPORT(Op, Request, Response) WS_DEFINE_EXPORT(ws::BasicSystemClient, Op, Request, Response)
WS_BASIC_SYSTEM_FRAMED_OPERATIONS(WS_BASIC_SYSTEM_EXPORT)

WS_API int WS_CALL DLL_WebServiceGetVersion(const char *host, const char *user, const char *password,
                                            const void *request, VersionRecord *response, ConnectionInfo *conn) {
  WS_CHECK_ARG(host);
  WS_CHECK_ARG(request);
  WS_CHECK_ARG(response);
  WS_CHECK_ARG(conn);
  if (!ws::IsHostText(host)) return -1;  // before the debug line names it
  return ws::WithClient<ws::BasicSystemClient>(ws::TimeoutFor("GetVersion"), [&](ws::BasicSystemClient &client) {
    return client.ProbeVersion(host, user, password, request, response, conn);
  });
}
