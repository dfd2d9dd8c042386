"""Devices, their calls, the exceptions of failed calls and the fleet helper."""

import concurrent.futures
import ctypes
import typing

from . import _generated, _library, _marshal


class Error(Exception):
    """A call that failed: its export returned a nonzero status."""

    def __init__(self, operation: str, status: int):
        self.operation = operation
        self.status = _generated.Status(status) if status in _generated.Status._value2member_map_ else status
        self.name = _library.status_name(status)
        self.text = _library.status_text(status)
        super().__init__(f"{operation}: {status} {self.name}: {self.text}")


class Refused(Exception):
    """The device answered, and refused: a false result or a nonzero resultCode."""

    def __init__(self, operation: str, answer):
        self.operation = operation
        self.answer = answer
        self.result_code = getattr(answer, "resultCode", 0)
        super().__init__(f"{operation}: the device refused (resultCode {self.result_code})")


def refused(answer) -> bool:
    return getattr(answer, "result", True) is False or getattr(answer, "resultCode", 0) != 0


class ConnectionInfo(ctypes.Structure):
    _fields_ = [("reserved", ctypes.c_int32), ("useHttps", ctypes.c_int32), ("port", ctypes.c_int32),
                ("endpointKind", ctypes.c_int32)]


class _Operation:
    """One export: its records and its function."""

    def __init__(self, desc: dict):
        self.name = desc["name"]
        self.request = _marshal.layout(desc["request"])
        self.response = _marshal.layout(desc["response"])
        self.function = getattr(_library.lib, "DLL_WebService" + self.name)
        pointers = [ctypes.c_void_p] * (3 if self.response.fields else 2)
        self.function.argtypes = [ctypes.c_char_p] * 3 + pointers
        self.function.restype = ctypes.c_int


# Every export with its records, made once at import.
_operations = {desc["name"]: _Operation(desc) for desc in _marshal.DESCRIPTION["operations"]}
_by_lower = {name.lower(): op for name, op in _operations.items()}


def operation(name: str) -> _Operation:
    """The export of that name (exact, else ignoring case)."""
    op = _operations.get(name) or _by_lower.get(name.lower())
    if op is None:
        raise ValueError(f"unknown operation {name!r}")
    return op


def _bytes(text: typing.Optional[str]) -> typing.Optional[bytes]:
    return text.encode("utf-8") if isinstance(text, str) else text


class Device(_generated.Operations):
    """One device and how to reach it.  Calls on one Device may run on several
    threads at once; each builds its own records.  get_version() leaves in
    kind the endpoint kind that answered, as the library's probe does."""

    def __init__(self, host: str, user: typing.Optional[str] = None, password: typing.Optional[str] = None,
                 port: int = 80, https: bool = False, kind: int = 0):
        self.host = host
        self.user = user
        self.password = password
        self.port = port
        self.https = https
        self.kind = kind  # EndpointKind: 0 http[s]://host:port/soap, 1 http://host:81, 2 http://host:port

    def __repr__(self):
        scheme = "https" if self.https else "http"
        return f"Device({scheme}://{self.host}:{self.port}, kind={self.kind})"

    def call(self, name: str, request: typing.Optional[typing.Union[dict, _generated.Record]] = None, /, *,
             check: bool = True, **fields):
        """Calls the export named (GetUserList, or any case of it) with the
        request given as a dict in wsctl's JSON shape or a record, and fields
        as keyword arguments on top.  Returns the answer as a record (None
        for Reboot); raises Error when the call fails and, when check is
        true, Refused when the device refuses."""
        op = operation(name)
        values = dict(_marshal.plain(request) or {})
        values.update(fields)
        built = _marshal.Request(op.request, values)
        conn = ConnectionInfo(0, 1 if self.https else 0, self.port, self.kind)
        arguments = [_bytes(self.host), _bytes(self.user), _bytes(self.password), ctypes.addressof(built.struct)]
        answer = op.response.struct() if op.response.fields else None
        if answer is not None:
            arguments.append(ctypes.addressof(answer))
        status = op.function(*arguments, ctypes.addressof(conn))
        if status != 0:
            raise Error(op.name, status)
        self.kind = conn.endpointKind  # GetVersion says which kind answered
        if answer is None:
            return None
        try:
            result = _marshal.to_python(op.response, ctypes.addressof(answer))
        finally:
            if op.response.owns_memory:
                _library.release(op.response, answer)
        if check and refused(result):
            raise Refused(op.name, result)
        return result

    def _invoke(self, name: str, check: bool, **fields):
        return self.call(name, {key: value for key, value in fields.items() if value is not None}, check=check)


class FleetResult(typing.NamedTuple):
    """One device's outcome in a fleet: its answer, or the Error or Refused it met."""

    device: Device
    answer: typing.Any = None
    error: typing.Optional[Exception] = None

    @property
    def ok(self) -> bool:
        return self.error is None


def fleet(devices: typing.Iterable[Device], operation: str, parallel: int = 8,
          request: typing.Optional[dict] = None, **fields) -> typing.Iterator[FleetResult]:
    """Calls the operation on every device, parallel calls in flight, and
    yields one FleetResult per device as each completes."""
    if parallel < 1:
        raise ValueError("parallel must be at least 1")

    def one(device):
        try:
            return FleetResult(device, device.call(operation, request, **fields))
        except Refused as error:
            return FleetResult(device, error.answer, error)
        except Error as error:
            return FleetResult(device, None, error)

    pool = concurrent.futures.ThreadPoolExecutor(parallel)
    try:
        for future in concurrent.futures.as_completed([pool.submit(one, device) for device in devices]):
            yield future.result()
    finally:
        pool.shutdown(wait=True, cancel_futures=True)
