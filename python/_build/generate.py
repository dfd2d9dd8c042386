"""Writes webservice/_generated.py from the build's description (wsctl
describe) and the comments of the public headers: the enumerations, the
statuses, one dataclass per record and one Device method per export, with
their type hints and docstrings."""

import pathlib
import re
import textwrap

_SCALARS = {"int": "int", "bool": "bool", "text": "str", "textPointer": "typing.Optional[str]"}
_DEFAULTS = {"int": "0", "bool": "False", "text": "''", "textPointer": "None"}


def snake_name(operation):
    """GetUserList -> get_user_list, SetTTL -> set_ttl, GetIPv4 -> get_ipv4."""
    name = re.sub(r"IPv(\d)", r"Ipv\1", operation)
    name = re.sub(r"([A-Z]+)([A-Z][a-z])", r"\1_\2", name)
    return re.sub(r"([a-z\d])([A-Z])", r"\1_\2", name).lower()


def class_name(key, record):
    """The Python name of a record: its C name, or for a bare request or
    answer ("int32_t.response") one made of its fields and its role."""
    if key[0].isupper():
        return key
    role = "Argument" if key.endswith(".request") else "Answer"
    words = "".join(field["name"][0].upper() + field["name"][1:] for field in record["fields"])
    return (words or "No") + role


def _comments(headers, pattern):
    """{name: comment} for each comment of the headers that the pattern's
    declaration follows."""
    found = {}
    if headers is None:
        return found
    regex = re.compile(r"/\*((?:(?!\*/).)*)\*/\s*" + pattern, re.S)
    for header in sorted(pathlib.Path(headers).glob("*.h")):
        for match in regex.finditer(header.read_text(errors="replace")):
            lines = [re.sub(r"^\s*\*?\s?", "", line) for line in match.group(1).strip().splitlines()]
            text = " ".join(" ".join(lines).split())
            # Safe inside a docstring: no escapes, no closing quotes.
            found[match.group(2)] = text.replace("\\", "\\\\").replace('"', "'")
    return found


def _wrap(text, indent):
    return textwrap.fill(text, 100 - len(indent), initial_indent=indent, subsequent_indent=indent)


class _Writer:
    def __init__(self, description, headers):
        self.description = description
        self.records = description["records"]
        self.names = {key: class_name(key, record) for key, record in self.records.items()}
        self.export_comments = _comments(headers, r"WS_API[^;]*?DLL_WebService(\w+)\s*\(")
        self.record_comments = _comments(headers, r"typedef struct (\w+)\s*\{")
        self.lines = []

    def emit(self, *lines):
        self.lines.extend(lines)

    def element_type(self, field):
        kind = field["itemKind"] if field["kind"] == "items" else field["kind"]
        if kind == "record":
            return self.names[field["record"]]
        if kind == "int" and "enumeration" in field:
            return f"typing.Union[{field['enumeration']}, int]"
        return _SCALARS[kind]

    def annotation(self, field):
        element = self.element_type(field)
        return f"typing.List[{element}]" if field["kind"] == "items" or field["count"] > 1 else element

    def default(self, field):
        if field["kind"] == "items":
            return "dataclasses.field(default_factory=list)"
        if field["kind"] == "record":
            element = self.names[field["record"]]
            if field["count"] == 1:
                return f"dataclasses.field(default_factory={element})"
            return f"dataclasses.field(default_factory=lambda: [{element}() for _ in range({field['count']})])"
        if field["count"] > 1:
            return f"dataclasses.field(default_factory=lambda: [{_DEFAULTS[field['kind']]}] * {field['count']})"
        return _DEFAULTS[field["kind"]]

    def enumerations(self):
        for name, values in self.description["enumerations"].items():
            self.emit("", "", f"class {name}(enum.IntEnum):", f'    """The schema\'s {name} values."""', "")
            self.emit(*(f"    {symbol} = {value}" for symbol, value in values))
        self.emit("", "", "class Status(enum.IntEnum):",
                  '    """The statuses an export returns (WebService_StatusName without WS_STATUS_)."""', "")
        for name, value, text in self.description["statuses"]:
            self.emit(f"    {name} = {value}  # {text}")

    def record_order(self):
        """Every record key, each after the records it holds."""
        order, seen = [], set()

        def visit(key):
            if key in seen:
                return
            seen.add(key)
            for field in self.records[key]["fields"]:
                if "record" in field:
                    visit(field["record"])
            order.append(key)

        for key in sorted(self.records):
            visit(key)
        return order

    def record_classes(self):
        for key in self.record_order():
            record, name = self.records[key], self.names[key]
            doc = self.record_comments.get(record["name"], f"The {record['name']} record")
            self.emit("", "", "@dataclasses.dataclass", f"class {name}(Record):",
                      f'    """{doc}"""' if len(doc) < 90 else f'    """\n{_wrap(doc, "    ")}\n    """', "")
            self.emit(f"    _record: typing.ClassVar[str] = {key!r}")
            for field in record["fields"]:
                self.emit(f"    {field['name']}: {self.annotation(field)} = {self.default(field)}")
        self.emit("", "", "RECORD_CLASSES = {", *(f"    {key!r}: {self.names[key]}," for key in self.records), "}")

    def request_parameter(self, field):
        annotation = self.annotation(field)
        if field["kind"] == "record":
            annotation = f"typing.Union[{annotation}, dict]"
        return f"{field['name']}: typing.Optional[{annotation}] = None"

    def methods(self):
        self.emit("", "", "class Operations:",
                  '    """One method per export; each calls Device.call with the fields given."""')
        for op in self.description["operations"]:
            request, response = self.records[op["request"]], self.records[op["response"]]
            # A list's count is the number of its items: no parameter.
            counters = {f["countOffset"] for f in request["fields"] if f["kind"] == "items"}
            fields = [f for f in request["fields"] if not (f["kind"] == "int" and f["offset"] in counters)]
            parameters = ", ".join(["self", "*"] + [self.request_parameter(f) for f in fields] + ["check: bool = True"])
            returns = "None" if not response["fields"] else self.names[op["response"]]
            comment = self.export_comments.get(op["name"], op["name"] + ".")
            doc = [_wrap(comment, "        "), ""]
            if fields:
                doc.append(_wrap(f"Request {self.records[op['request']]['name']}: "
                                 + ", ".join(f["name"] for f in fields) + ".", "        "))
            doc.append(_wrap(f"Answer: {returns}; raises Error on a failed call and, unless check is False,"
                             " Refused when the device refuses.", "        "))
            arguments = "".join(f", {f['name']}={f['name']}" for f in fields)
            self.emit("", f"    def {snake_name(op['name'])}({parameters}) -> {returns}:",
                      '        """' + doc[0].lstrip(), *doc[1:], '        """',
                      f"        return self._invoke({op['name']!r}, check{arguments})")
        self.emit("", "", "METHODS = {", *(f"    {op['name']!r}: {snake_name(op['name'])!r},"
                                              for op in self.description["operations"]), "}")


_PREAMBLE = '''\
"""The records, enumerations, statuses and operations of libWebService.

Written by the build from the library's own descriptions; do not edit.
"""

from __future__ import annotations

import dataclasses
import enum
import typing


class Record:
    """A record of the library, its fields named as in C."""

    _record: typing.ClassVar[str]

    def to_dict(self) -> dict:
        """The record as nested dicts and lists in wsctl's JSON shape, with
        enumeration values as their symbols."""
        return _plain(self)


def _plain(value):
    if isinstance(value, Record):
        return {field.name: _plain(getattr(value, field.name)) for field in dataclasses.fields(value)}
    if isinstance(value, list):
        return [_plain(element) for element in value]
    return value.name if isinstance(value, enum.Enum) else value
'''


def module(description, headers):
    """The source of webservice/_generated.py."""
    writer = _Writer(description, headers)
    writer.emit(_PREAMBLE.rstrip("\n"))
    writer.enumerations()
    writer.record_classes()
    writer.methods()
    return "\n".join(writer.lines) + "\n"
