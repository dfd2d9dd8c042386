// What a service's handlers see (the device, the exchange in progress) and
// the registration that puts a service on the simulator's one URL.
#pragma once

#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "sim/server.h"
#include "soapH.h"

namespace sim {

// Per worker; reset for every exchange.  A worker's SOAP context points at
// its Exchange (soap->user).
struct Exchange {
  DeviceState &device;
  const Options &options;
  EndpointKind kind = EndpointKind::kSoapPath;
  int resultCode = -1;  // the resultCode answered, for the log
  int status = 0;       // the HTTP status answered, for the log
  bool tls = false;     // the request came over HTTPS
};

class ServiceEndpoint {
 public:
  virtual ~ServiceEndpoint() = default;
  // Serves the pending request, or answers SOAP_NO_METHOD when it is not ours.
  virtual int Dispatch(struct soap *soap) = 0;
};

using ServiceFactory = std::unique_ptr<ServiceEndpoint> (*)(struct soap *);
// Called once per service during static initialisation; returns true.
bool RegisterService(ServiceFactory factory);
const std::vector<ServiceFactory> &RegisteredServices();

// A soapcpp2 service class on a worker's context; the handler files define
// the class's operations.
template <class Generated>
class Endpoint final : public ServiceEndpoint {
 public:
  explicit Endpoint(struct soap *soap) : service_(soap) {}
  int Dispatch(struct soap *soap) override { return service_.dispatch(soap); }
  static std::unique_ptr<ServiceEndpoint> Make(struct soap *soap) { return std::make_unique<Endpoint>(soap); }

 private:
  Generated service_;
};

// Answers GET <path>?wsdl with the service descriptions (the runtime's GET
// hook); any other GET is refused as before.
int ServeDescription(struct soap *soap);

// Helpers of the handlers.
inline Exchange &ExchangeOf(struct soap *soap) { return *static_cast<Exchange *>(soap->user); }
inline DeviceState &DeviceOf(struct soap *soap) { return ExchangeOf(soap).device; }

// Completes a response with the device's verdict.
template <class Response>
int Reply(struct soap *soap, Response &response, int resultCode) {
  response.resultCode = ExchangeOf(soap).resultCode = resultCode;
  return SOAP_OK;
}

// The size of the record fields that carry a device's texts (user names,
// passwords, ...), their terminating zero included.
constexpr size_t kTextFieldSize = 100;

// True when every text fits a record field of fieldSize bytes with its
// terminating zero; absent texts fit.  A handler refuses the others with
// kResultTooLong and changes nothing: the device keeps no longer texts.
inline bool TextsFit(std::initializer_list<const char *> texts, size_t fieldSize = kTextFieldSize) {
  for (const char *text : texts)
    if (text && strnlen(text, fieldSize) >= fieldSize) return false;
  return true;
}

// The seconds since the epoch of a UTC date and time received on the wire;
// false for a date or time that does not exist (or lies before 1970 or after
// 9999).
bool UtcSeconds(const ns1__Date_USCORET &date, const ns1__Time_USCORET &time, long long *seconds);

// A copy of a stored value that lives as long as the exchange.
template <class T>
T *Clone(struct soap *soap, const T &value) {
  T *copy = static_cast<T *>(soap_instantiate(soap, value.soap_type(), nullptr, nullptr, nullptr));
  if (copy) *copy = value;
  return copy;
}

}  // namespace sim

// Puts a service on the simulator's URL; once, in the service's handler file.
#define WS_SIM_REGISTER_SERVICE(Generated) \
  static const bool Generated##Registered = sim::RegisterService(&sim::Endpoint<Generated>::Make)
