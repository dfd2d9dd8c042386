"""Builds the webservice wheel with the standard library alone, so that
`pip install ./python` needs no package index.

The wheel carries the package's own modules, the description the build wrote
(build/python/description.json), the module generated from it and a copy of
the library.  The build directory is $WEBSERVICE_BUILD, else build/ at the
top of the source tree.
"""

import base64
import hashlib
import json
import os
import pathlib
import sys
import sysconfig
import zipfile

sys.path.insert(0, os.path.dirname(__file__))
import generate  # noqa: E402

HERE = pathlib.Path(__file__).resolve().parent
PACKAGE = HERE.parent / "webservice"
SOURCE = HERE.parent.parent


def _build_dir():
    build = pathlib.Path(os.environ.get("WEBSERVICE_BUILD", SOURCE / "build")).resolve()
    if not (build / "python" / "description.json").is_file():
        raise RuntimeError(
            f"no {build / 'python' / 'description.json'}: build the library first "
            "(cmake -S . -B build && cmake --build build), or name the build directory in WEBSERVICE_BUILD")
    return build


def _tag():
    return "py3-none-" + sysconfig.get_platform().replace("-", "_").replace(".", "_")


def _metadata(version):
    return (f"Metadata-Version: 2.1\nName: webservice\nVersion: {version}\n"
            "Summary: Every export of libWebService as a Python method, records as Python objects\n"
            "Requires-Python: >=3.9\n")


def _files(build):
    """The wheel's files as (name in the wheel, bytes)."""
    info = json.loads((build / "python" / "build-info.json").read_text())
    description = (build / "python" / "description.json").read_text()
    headers = SOURCE / "include" / "webservice"
    files = [(f"webservice/{path.name}", path.read_bytes()) for path in sorted(PACKAGE.glob("*.py"))]
    files.append(("webservice/py.typed", b""))
    files.append(("webservice/description.json", description.encode()))
    files.append(("webservice/_generated.py",
                  generate.module(json.loads(description), headers if headers.is_dir() else None).encode()))
    files.append(("webservice/libWebService.so", pathlib.Path(info["library"]).read_bytes()))
    return info["version"], files


def _record_line(name, data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=").decode()
    return f"{name},sha256={digest},{len(data)}"


def get_requires_for_build_wheel(config_settings=None):
    return []


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    version, files = _files(_build_dir())
    dist_info = f"webservice-{version}.dist-info"
    files += [(f"{dist_info}/METADATA", _metadata(version).encode()),
              (f"{dist_info}/WHEEL",
               f"Wheel-Version: 1.0\nGenerator: webservice\nRoot-Is-Purelib: false\nTag: {_tag()}\n".encode())]
    record = "\n".join(_record_line(name, data) for name, data in files) + f"\n{dist_info}/RECORD,,\n"
    files.append((f"{dist_info}/RECORD", record.encode()))
    name = f"webservice-{version}-{_tag()}.whl"
    with zipfile.ZipFile(os.path.join(wheel_directory, name), "w", zipfile.ZIP_DEFLATED) as wheel:
        for path, data in files:
            entry = zipfile.ZipInfo(path, date_time=(1980, 1, 1, 0, 0, 0))
            entry.external_attr = (0o755 if path.endswith(".so") else 0o644) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            wheel.writestr(entry, data)
    return name
