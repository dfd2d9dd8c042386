"""The records as ctypes lays them out against the C compiler's layout: the
build's description (offsetof, sizeof) and the pinned layout tests."""

import ctypes
import pathlib
import re

import pytest

import webservice
from webservice import _marshal

RECORDS = sorted(_marshal.DESCRIPTION["records"])
PINNED = pathlib.Path(__file__).resolve().parents[2] / "tests"


def test_every_record_matches_the_compiler():
    assert ctypes.sizeof(ctypes.c_void_p) == _marshal.DESCRIPTION["pointerSize"]
    for key in RECORDS:
        record = _marshal.layout(key)
        assert ctypes.sizeof(record.struct) == record.size, key
        for field in record.fields:
            assert getattr(record.struct, field.name).offset == field.offset, f"{key}.{field.name}"
            if field.kind != "items" and field.count == 1:
                assert getattr(record.struct, field.name).size == field.size, f"{key}.{field.name}"


def _pins():
    """(record, field or None, value) of every SIZE and AT check of the layout tests."""
    text = "".join(path.read_text() for path in [PINNED / "layout_test.c", *sorted(PINNED.glob("layout/*.h"))])
    for match in re.finditer(r"\bSIZE\((\w+), (\d+)\)|\bAT\((\w+), (\w+), (\d+)\)", text):
        size_of, size, at_of, field, offset = match.groups()
        yield (size_of, None, int(size)) if size_of else (at_of, field, int(offset))


@pytest.mark.skipif(not (PINNED / "layout_test.c").is_file(), reason="run from the source tree")
def test_every_record_matches_the_pinned_layouts():
    records = {desc["name"]: _marshal.layout(key) for key, desc in _marshal.DESCRIPTION["records"].items()}
    checked = 0
    for name, field, value in _pins():
        record = records.get(name)
        if record is None:
            continue
        if field is None:
            last = max(record.fields, key=lambda f: f.offset)
            # A request ending in a text that the header declares one byte long
            # is described with room for the text.
            assert ctypes.sizeof(record.struct) == value or (
                last.kind == "text" and value == last.offset + 1), name
        elif hasattr(record.struct, field) and not field.startswith("_"):
            assert getattr(record.struct, field).offset == value, f"{name}.{field}"
        checked += 1
    assert checked > 300


def test_every_export_is_a_method_with_its_header_comment():
    operations = _marshal.DESCRIPTION["operations"]
    assert len(operations) == len(set(webservice._generated.METHODS.values())) == 172
    for op in operations:
        method = getattr(webservice.Device, webservice._generated.METHODS[op["name"]])
        assert method.__doc__.startswith(op["name"] + ":"), op["name"]


def test_release_calls_cover_every_answer_that_owns_memory():
    """A library with release calls has one for every answer that holds
    memory of its own; the package frees item by item only without any."""
    owning = {op.response.name for op in webservice._device._operations.values() if op.response.owns_memory}
    assert "UserListRecord" in owning and "CallResult" not in owning
    released = {name for name in owning if webservice._library.release_function(name)}
    assert released in (set(), owning)
