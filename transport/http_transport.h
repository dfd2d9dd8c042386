// The HTTP transport plug-in: every exchange of a SOAP context goes through
// the platform HTTP client (libcurl) instead of the runtime's own sockets.
#pragma once

struct soap;

namespace ws {

// Plug-in id under which the transport registers.
extern const char kHttpTransportId[];

// Registers the transport in a context, taking the context's connect, send and
// receive time-outs.  A second registration in the same context updates the
// first one's time-outs.  Returns 0, or 20 when the state cannot be created.
int RegisterHttpTransport(struct soap *soap, unsigned requestFlags);

}  // namespace ws
