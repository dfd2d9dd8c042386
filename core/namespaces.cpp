// The namespace table installed into every SOAP context.  Its order is the
// order of the declarations in every envelope.
#include "stdsoap2.h"
#include "base_namespace.h"

#define WS_BINDING(name) WS_BASE_NAMESPACE name

SOAP_NMAC struct Namespace namespaces[] = {
    {"SOAP-ENV", "http://schemas.xmlsoap.org/soap/envelope/", "http://www.w3.org/*/soap-envelope", nullptr},
    {"SOAP-ENC", "http://schemas.xmlsoap.org/soap/encoding/", "http://www.w3.org/*/soap-encoding", nullptr},
    {"xsi", "http://www.w3.org/2001/XMLSchema-instance", "http://www.w3.org/*/XMLSchema-instance", nullptr},
    {"xsd", "http://www.w3.org/2001/XMLSchema", "http://www.w3.org/*/XMLSchema", nullptr},
    {"ns10", WS_BINDING("FactorySoap"), nullptr, nullptr},
    {"ns11", WS_BINDING("FactorySoap12"), nullptr, nullptr},
    {"ns12", WS_BINDING("NetworkSoap"), nullptr, nullptr},
    {"ns13", WS_BINDING("NetworkSoap12"), nullptr, nullptr},
    {"ns14", WS_BINDING("PTZSoap"), nullptr, nullptr},
    {"ns15", WS_BINDING("PTZSoap12"), nullptr, nullptr},
    {"ns16", WS_BINDING("UtilitySoap"), nullptr, nullptr},
    {"ns17", WS_BINDING("UtilitySoap12"), nullptr, nullptr},
    {"ns18", WS_BINDING("VideoAnalysisSoap"), nullptr, nullptr},
    {"ns19", WS_BINDING("VideoAnalysisSoap12"), nullptr, nullptr},
    {"ns2", WS_BINDING("AccountSoap"), nullptr, nullptr},
    {"ns3", WS_BINDING("AccountSoap12"), nullptr, nullptr},
    {"ns4", WS_BINDING("AudioVideoSoap"), nullptr, nullptr},
    {"ns5", WS_BINDING("AudioVideoSoap12"), nullptr, nullptr},
    {"ns6", WS_BINDING("BasicSystemSoap"), nullptr, nullptr},
    {"ns7", WS_BINDING("BasicSystemSoap12"), nullptr, nullptr},
    {"ns8", WS_BINDING("EventScheduleSoap"), nullptr, nullptr},
    {"ns1", WS_BASE_NAMESPACE, nullptr, nullptr},
    {"ns9", WS_BINDING("EventScheduleSoap12"), nullptr, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};
