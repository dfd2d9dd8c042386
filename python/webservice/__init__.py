"""Every export of libWebService as a Python method.

    import webservice
    device = webservice.Device("127.0.0.1", "admin", "admin", port=8080)
    for user in device.get_user_list().items:
        print(user.userID, user.userLevel.name)

The library is the libWebService.so installed beside this package, or the
one named by the environment variable WEBSERVICE_LIBRARY.  Calls release the
interpreter lock, so threads call devices in parallel (see fleet).
"""

from ._generated import *  # noqa: F401,F403 - the records, enumerations and Status
from ._generated import Record, Status
from ._library import (RESOLVE_ASK, RESOLVE_NO_RETRY, RESOLVE_RETRY, Exchange, allow_plain_http_probe,
                       set_ca_file, set_resolve_callback, set_trace_callback, status_name, status_text)
from ._device import Device, Error, FleetResult, Refused, fleet

__all__ = ["Device", "Error", "Refused", "fleet", "FleetResult", "Record", "Status", "Exchange",
           "set_ca_file", "set_resolve_callback", "set_trace_callback", "allow_plain_http_probe",
           "status_name", "status_text", "RESOLVE_NO_RETRY", "RESOLVE_RETRY", "RESOLVE_ASK"]
