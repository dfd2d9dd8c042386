"""Each module's argument spec against its documentation, as the collection
checks them where ansible-test's validate-modules cannot run (it installs its
requirements from a package index): the same options, and for each the same
type, default, choices, required, list elements, and no_log on passwords."""
import importlib
import json
import os
import pathlib
import subprocess
import sys

import ansible.module_utils.basic as basic

ROOT = pathlib.Path(__file__).resolve().parents[1]
MODULES = ROOT / "ansible_collections" / "webservice" / "devices" / "plugins" / "modules"
sys.path.insert(0, str(ROOT))


class Spec(Exception):
    def __init__(self, argument_spec):
        super().__init__()
        self.argument_spec = argument_spec


def capture(argument_spec, **_):
    raise Spec(argument_spec)


def argument_spec(name):
    basic.AnsibleModule = capture
    module = importlib.import_module("ansible_collections.webservice.devices.plugins.modules." + name)
    try:
        module.main()
    except Spec as spec:
        return spec.argument_spec
    raise AssertionError(f"{name}: main() made no AnsibleModule")


def problems(name, spec, documented):
    found = []
    if set(spec) != set(documented):
        found.append(f"options only in the module's arguments {sorted(set(spec) - set(documented))}, "
                     f"only documented {sorted(set(documented) - set(spec))}")
    for option in sorted(set(spec) & set(documented)):
        given, doc = spec[option], documented[option]
        for key, default in (("type", "str"), ("default", None), ("choices", None), ("required", False),
                             ("elements", None)):
            if given.get(key, default) != doc.get(key, default):
                found.append(f"{option}: {key} {given.get(key, default)!r} in the module's arguments, {doc.get(key, default)!r} documented")
        if "password" in option and given.get("type", "str") == "str" and not given.get("no_log"):
            found.append(f"{option}: not no_log")
    return [f"{name}: {problem}" for problem in found]


def main():
    names = sorted(path.stem for path in MODULES.glob("webservice_*.py"))
    docs = json.loads(subprocess.run(["ansible-doc", "--json"] + ["webservice.devices." + n for n in names],
                                     check=True, capture_output=True, text=True,
                                     env=dict(os.environ, ANSIBLE_COLLECTIONS_PATH=str(ROOT))).stdout)
    found = []
    for name in names:
        found += problems(name, argument_spec(name), docs["webservice.devices." + name]["doc"]["options"])
    for problem in found:
        print(problem, file=sys.stderr)
    print(f"argument specs: {len(names)} modules, {len(found)} problems")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
