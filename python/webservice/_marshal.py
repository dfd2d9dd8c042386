"""The records in C: a ctypes Structure for each description, and the
conversion between those and the Python records."""

import ctypes
import dataclasses
import json
import os
import typing

from . import _generated, _library

with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "description.json")) as _file:
    DESCRIPTION = json.load(_file)

_SCALAR_TYPES = {"int": ctypes.c_int32, "bool": ctypes.c_bool, "textPointer": ctypes.c_void_p}


class Field:
    """One field of a record, as described."""

    def __init__(self, desc: dict):
        self.name = desc["name"]
        self.kind = desc["kind"]
        self.offset = desc["offset"]
        self.size = desc["size"]  # of one element, of one item for a list
        self.count = desc["count"]
        self.count_offset = desc.get("countOffset")
        self.item_kind = desc.get("itemKind")
        self.element_kind = self.item_kind if self.kind == "items" else self.kind
        self.enumeration = getattr(_generated, desc["enumeration"]) if "enumeration" in desc else None
        self.nested = layout(desc["record"]) if "record" in desc else None

    def element_type(self):
        if self.element_kind == "record":
            return self.nested.struct
        if self.element_kind == "text":
            return ctypes.c_char * self.size
        return _SCALAR_TYPES[self.element_kind]

    def c_type(self):
        if self.kind == "items":
            return ctypes.c_void_p
        return self.element_type() * self.count if self.count > 1 else self.element_type()


class Layout:
    """A record: its description, its Structure and its Python class."""

    def __init__(self, key: str):
        desc = DESCRIPTION["records"][key]
        self.key = key
        self.name = desc["name"]
        self.size = desc["size"]
        self.fields = [Field(field) for field in desc["fields"]]
        self.cls = _generated.RECORD_CLASSES[key]
        self.struct = _structure(self)
        ints = {field.offset: field for field in self.fields if field.kind == "int"}
        # The field that counts each list's items, by its offset.
        self.counters = {field.count_offset: ints.get(field.count_offset) for field in self.fields
                         if field.kind == "items"}
        self.owns_memory = any(field.kind in ("items", "textPointer")
                               or (field.kind == "record" and field.nested.owns_memory) for field in self.fields)
        self.release_function = _library.release_function(self.name) if self.owns_memory else None


_layouts: typing.Dict[str, Layout] = {}


def layout(key: str) -> Layout:
    if key not in _layouts:
        _layouts[key] = Layout(key)
    return _layouts[key]


def _structure(record: Layout):
    """The record's Structure: its fields at their natural alignment, with
    filler where the description leaves out a field the library does not
    use (prefix, spare), so that the layout must come out as C's."""
    fields, at = [], 0
    for k, field in enumerate(sorted(record.fields, key=lambda f: f.offset)):
        c_type = field.c_type()
        aligned = -(-at // ctypes.alignment(c_type)) * ctypes.alignment(c_type)
        if field.offset > aligned:
            fields.append((f"_unused{k}", ctypes.c_char * (field.offset - at)))
        fields.append((field.name, c_type))
        at = field.offset + ctypes.sizeof(c_type)
    if record.size > at:
        fields.append(("_unused", ctypes.c_char * (record.size - at)))
    return type(record.name, (ctypes.Structure,), {"_fields_": fields})


def _decode(raw: bytes) -> str:
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("latin-1")


# From C to Python.

def _element(field: Field, address: int):
    kind = field.element_kind
    if kind == "int":
        value = ctypes.c_int32.from_address(address).value
        if field.enumeration is not None and value in field.enumeration._value2member_map_:
            return field.enumeration(value)
        return value
    if kind == "bool":
        return ctypes.c_bool.from_address(address).value
    if kind == "text":
        return _decode(ctypes.string_at(address, field.size).split(b"\0", 1)[0])
    if kind == "textPointer":
        pointer = ctypes.c_void_p.from_address(address).value
        return _decode(ctypes.string_at(pointer)) if pointer else None
    return to_python(field.nested, address)


def to_python(record: Layout, address: int):
    """The record at that address as its Python class."""
    values = {}
    for field in record.fields:
        at = address + field.offset
        if field.kind == "items":
            first = ctypes.c_void_p.from_address(at).value
            listed = ctypes.c_int32.from_address(address + field.count_offset).value
            values[field.name] = [_element(field, first + k * field.size) for k in range(listed if first else 0)]
        elif field.count > 1:
            values[field.name] = [_element(field, at + k * field.size) for k in range(field.count)]
        else:
            values[field.name] = _element(field, at)
    return record.cls(**values)


# From Python to C.

def plain(value):
    """A record object as a dict; anything else as it is."""
    if dataclasses.is_dataclass(value) and not isinstance(value, type):
        return {f.name: getattr(value, f.name) for f in dataclasses.fields(value)}
    return value


class Request:
    """A request record filled from Python values, with the arrays and texts
    it points to kept alive as long as it is."""

    def __init__(self, record: Layout, values: dict):
        self.record = record
        self.struct = record.struct()
        self._keep: list = []
        self._fill(record, ctypes.addressof(self.struct), values, "")

    def _fill(self, record: Layout, address: int, values, path: str):
        # A record object's counts are those of its lists as they are now.
        counted = not dataclasses.is_dataclass(values)
        values = plain(values)
        if not isinstance(values, dict):
            raise TypeError(f"{path or record.name}: expected a {record.name} or a dict, got {type(values).__name__}")
        names = {field.name for field in record.fields}
        unknown = [name for name in values if name not in names and name != "resultCode"]
        if unknown:
            raise TypeError(f"unknown field {_join(path, unknown[0])!r} in {record.name} "
                            f"(fields: {', '.join(sorted(names)) or 'none'})")
        for field in record.fields:
            if field.name in values and field.offset not in record.counters:
                self._field(field, address, values[field.name], _join(path, field.name))
        for field in record.fields:
            if field.kind == "items":
                self._count(record, field, address, values, path, counted)

    def _count(self, record: Layout, items: Field, address: int, values: dict, path: str, counted: bool):
        counter = record.counters[items.count_offset]
        counted = counted and counter is not None and counter.name in values
        given = values.get(items.name)
        length = len(given) if given is not None else 0
        if counted and values[counter.name] != length:
            raise ValueError(f"{_join(path, counter.name)!r} is {values[counter.name]} "
                             f"but {_join(path, items.name)!r} holds {length} items")
        if counted or items.name in values:
            ctypes.c_int32.from_address(address + items.count_offset).value = length

    def _field(self, field: Field, address: int, value, path: str):
        at = address + field.offset
        if field.kind == "items":
            if value is None:
                return
            value = list(plain(value))
            array = (field.element_type() * len(value))()
            self._keep.append(array)
            for k, element in enumerate(value):
                self._element(field, ctypes.addressof(array) + k * field.size, element, f"{path}.{k}")
            ctypes.c_void_p.from_address(at).value = ctypes.addressof(array) if value else None
        elif field.count > 1:
            value = list(value) if isinstance(value, (list, tuple)) else value
            if not isinstance(value, list) or len(value) > field.count:
                raise ValueError(f"{path!r}: expected a list of at most {field.count} elements")
            for k, element in enumerate(value):
                self._element(field, at + k * field.size, element, f"{path}.{k}")
        else:
            self._element(field, at, value, path)

    def _element(self, field: Field, at: int, value, path: str):
        kind = field.element_kind
        if kind == "int":
            ctypes.c_int32.from_address(at).value = _int(field, value, path)
        elif kind == "bool":
            if not isinstance(value, bool) and value not in (0, 1):
                raise TypeError(f"{path!r}: expected True or False, got {value!r}")
            ctypes.c_bool.from_address(at).value = bool(value)
        elif kind == "text":
            raw = _encode(value, path)
            if len(raw) >= field.size:
                raise ValueError(f"{path!r}: at most {field.size - 1} bytes (got {len(raw)})")
            ctypes.memmove(at, raw.ljust(field.size, b"\0"), field.size)
        elif kind == "textPointer":
            text = None if value is None else ctypes.create_string_buffer(_encode(value, path))
            self._keep.append(text)
            ctypes.c_void_p.from_address(at).value = ctypes.addressof(text) if text is not None else None
        else:
            self._fill(field.nested, at, value, path)


def _join(path: str, name: str) -> str:
    return f"{path}.{name}" if path else name


def _encode(value, path: str) -> bytes:
    if not isinstance(value, (str, bytes)):
        raise TypeError(f"{path!r}: expected a text, got {type(value).__name__}")
    raw = value.encode("utf-8") if isinstance(value, str) else value
    if b"\0" in raw:
        raise ValueError(f"{path!r}: the text holds a NUL character")
    return raw


def _int(field: Field, value, path: str) -> int:
    """A number, or a symbol of the field's enumeration (of any when it names none)."""
    if isinstance(value, str):
        tables = [field.enumeration] if field.enumeration else [
            getattr(_generated, name) for name in DESCRIPTION["enumerations"]]
        for table in tables:
            if value in table.__members__:
                return int(table[value])
        expected = f"a {field.enumeration.__name__} symbol" if field.enumeration else "an enumeration symbol"
        raise ValueError(f"{path!r}: {value!r} is not {expected}")
    if isinstance(value, bool) or not isinstance(value, int) or not -2 ** 31 <= value < 2 ** 31:
        raise ValueError(f"{path!r}: expected a 32-bit integer, got {value!r}")
    return int(value)
