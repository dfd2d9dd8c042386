"""The library as ctypes sees it: where it is found, its statuses, the
process-wide settings of Transport.h and the release of answers."""

import ctypes
import os
import threading
import typing

_HERE = os.path.dirname(os.path.abspath(__file__))


def _load():
    path = os.environ.get("WEBSERVICE_LIBRARY") or os.path.join(_HERE, "libWebService.so")
    try:
        return ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(f"webservice: cannot load the library {path} ({error}); "
                          "name it in WEBSERVICE_LIBRARY or reinstall the package from a build") from None


lib = _load()
lib.WebService_StatusName.restype = ctypes.c_char_p
lib.WebService_StatusName.argtypes = [ctypes.c_int]
lib.WebService_StatusText.restype = ctypes.c_char_p
lib.WebService_StatusText.argtypes = [ctypes.c_int]
lib.WebService_FreeItems.argtypes = [ctypes.c_void_p]
lib.WebService_FreeItems.restype = None
_libc = ctypes.CDLL(None)
_libc.free.argtypes = [ctypes.c_void_p]
_libc.free.restype = None


def status_name(status: int) -> str:
    """The status's name ("WS_STATUS_CANNOT_CONNECT"), "WS_STATUS_UNKNOWN" outside the table."""
    return lib.WebService_StatusName(status).decode()


def status_text(status: int) -> str:
    """What the status means, in words."""
    return lib.WebService_StatusText(status).decode()


def release_function(record_name: str):
    """The library's release call for answers of that record, or None when
    this library has none (then release() frees them itself)."""
    try:
        function = getattr(lib, "WebService_Free" + record_name)
    except AttributeError:
        return None
    function.argtypes = [ctypes.c_void_p]
    function.restype = None
    return function


def release(layout, record) -> None:
    """Hands back to the library everything it allocated into the answer
    record: through its release call when it has one, else item arrays with
    WebService_FreeItems and the texts of text lists with free()."""
    if layout.release_function is not None:
        layout.release_function(ctypes.addressof(record))
    else:
        _free(layout, ctypes.addressof(record))


def _free(layout, base: int) -> None:
    for field in layout.fields:
        at = base + field.offset
        if field.kind == "record" and field.nested.owns_memory:
            for k in range(field.count):
                _free(field.nested, at + k * field.size)
        elif field.kind == "textPointer":
            for k in range(field.count):
                pointer = ctypes.c_void_p.from_address(at + k * field.size)
                lib.WebService_FreeItems(pointer.value)
                pointer.value = None
        elif field.kind == "items":
            pointer = ctypes.c_void_p.from_address(at)
            count = ctypes.c_int32.from_address(base + field.count_offset).value
            for k in range(count if pointer.value else 0):
                item = pointer.value + k * field.size
                if field.item_kind == "textPointer":
                    _libc.free(ctypes.c_void_p.from_address(item).value)
                elif field.item_kind == "record" and field.nested.owns_memory:
                    _free(field.nested, item)
            lib.WebService_FreeItems(pointer.value)
            pointer.value = None


# Process-wide settings.  The ctypes thunks of the callbacks are kept here:
# the one installed as long as it is installed, the ones it replaced for good,
# since a call on another thread may still be running one of them.
_lock = threading.Lock()
_installed: typing.Dict[str, object] = {}
_retired: typing.List[object] = []

RESOLVE_NO_RETRY = 0
RESOLVE_RETRY = 1
RESOLVE_ASK = 2

_ResolveCallback = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_void_p)
_TraceCallback = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_void_p)
lib.WebService_SetResolveCallback.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
lib.WebService_SetTraceCallback.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
lib.WebService_SetCAFile.argtypes = [ctypes.c_char_p]
lib.WebService_AllowPlainHttpProbe.argtypes = [ctypes.c_int]


class Exchange(typing.NamedTuple):
    """One attempt of one call, as the trace callback sees it (credentials masked)."""

    url: str
    http_status: int  # 0 when no answer arrived
    error: int  # the platform error number of the attempt, 0 when answered
    request_headers: str
    request_body: bytes
    answer_headers: str
    answer_body: bytes


class _ExchangeRecord(ctypes.Structure):
    _fields_ = [("url", ctypes.c_char_p), ("httpStatus", ctypes.c_int), ("error", ctypes.c_int),
                ("requestHeaders", ctypes.c_char_p), ("requestBody", ctypes.c_void_p),
                ("requestBodyLength", ctypes.c_size_t), ("answerHeaders", ctypes.c_char_p),
                ("answerBody", ctypes.c_void_p), ("answerBodyLength", ctypes.c_size_t)]


def _text(value: typing.Optional[bytes]) -> str:
    return (value or b"").decode("utf-8", "replace")


def _exchange(address: int) -> Exchange:
    e = _ExchangeRecord.from_address(address)
    return Exchange(_text(e.url), e.httpStatus, e.error, _text(e.requestHeaders),
                    ctypes.string_at(e.requestBody, e.requestBodyLength) if e.requestBody else b"",
                    _text(e.answerHeaders),
                    ctypes.string_at(e.answerBody, e.answerBodyLength) if e.answerBody else b"")


def _install(name, thunk, setter):
    with _lock:
        setter(ctypes.cast(thunk, ctypes.c_void_p) if thunk else None, None)
        if name in _installed:
            _retired.append(_installed.pop(name))
        if thunk:
            _installed[name] = thunk


def set_resolve_callback(callback: typing.Optional[typing.Callable[[int, str], typing.Union[int, bool]]]) -> None:
    """Installs (None removes) the process-wide resolve callback.

    callback(error, url) is called on the calling thread when a request met a
    retryable error (Status.INCORRECT_PASSWORD, Status.INVALID_CA and the
    other certificate errors); True or RESOLVE_RETRY sends the request again
    once, accepting that certificate for that request only.  An exception in
    the callback counts as no retry."""
    def resolve(error, url, context):
        try:
            return int(callback(error, _text(url)))
        except Exception:  # noqa: BLE001 - the library cannot take an exception
            return RESOLVE_NO_RETRY

    _install("resolve", _ResolveCallback(resolve) if callback else None, lib.WebService_SetResolveCallback)


def set_trace_callback(callback: typing.Optional[typing.Callable[[Exchange], None]]) -> None:
    """Installs (None removes) the process-wide trace callback: callback(Exchange)
    after every attempt of every call, on the calling thread."""
    def trace(exchange, context):
        try:
            callback(_exchange(exchange))
        except Exception:  # noqa: BLE001 - the library cannot take an exception
            pass

    _install("trace", _TraceCallback(trace) if callback else None, lib.WebService_SetTraceCallback)


def set_ca_file(path: typing.Optional[str]) -> None:
    """Trusts the authorities of a PEM file besides the system store (None removes it)."""
    if lib.WebService_SetCAFile(os.fsencode(path) if path is not None else None) != 0:
        raise OSError(f"cannot read the CA file {path}")


def allow_plain_http_probe(allow: bool) -> None:
    """Allows get_version's plain-http second attempt after a first attempt over https."""
    lib.WebService_AllowPlainHttpProbe(1 if allow else 0)
