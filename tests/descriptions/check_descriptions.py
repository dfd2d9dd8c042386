#!/usr/bin/env python3
"""Checks every service description the build wrote (any *.wsdl in the
directory): each referenced type and element is defined, the binding is SOAP
1.1 document/literal over HTTP, each operation's action is the base namespace
+ the operation name, the address is the device's /soap, and every schema
embedded in a description compiles in xmllint.

usage: check_descriptions.py DESCRIPTION_DIR BASE_NAMESPACE
"""
import glob
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

XSD = "http://www.w3.org/2001/XMLSchema"
WSDL = "http://schemas.xmlsoap.org/wsdl/"
SOAP11 = "http://schemas.xmlsoap.org/wsdl/soap/"


def prefixes(path):
    found = {}
    for _, (prefix, uri) in ET.iterparse(path, events=["start-ns"]):
        found.setdefault(prefix, uri)
    return found


def check(path, base, problems):
    names = prefixes(path)
    root = ET.parse(path).getroot()
    defined = set()
    for schema in root.iter("{%s}schema" % XSD):
        target = schema.get("targetNamespace")
        for kind in ("complexType", "simpleType", "element"):
            for node in schema.findall("{%s}%s" % (XSD, kind)):
                defined.add((kind == "element", target, node.get("name")))

    def resolve(qname, element):
        prefix, _, local = qname.rpartition(":")
        uri = names.get(prefix)
        if uri == XSD:
            return
        if (element, uri, local) not in defined:
            problems.append("%s: %s %s is not defined" % (path, "element" if element else "type", qname))

    for node in root.iter():
        if node.tag in ("{%s}element" % XSD, "{%s}restriction" % XSD, "{%s}extension" % XSD):
            for attribute in ("type", "base"):
                if node.get(attribute):
                    resolve(node.get(attribute), False)
            if node.get("ref"):
                resolve(node.get("ref"), True)
        if node.tag == "{%s}part" % WSDL and node.get("element"):
            resolve(node.get("element"), True)

    bindings = root.findall("{%s}binding" % WSDL)
    if not bindings:
        problems.append("%s: no binding" % path)
    for binding in bindings:
        soap = binding.find("{%s}binding" % SOAP11)
        if soap is None or soap.get("style") != "document" or \
                soap.get("transport") != "http://schemas.xmlsoap.org/soap/http":
            problems.append("%s: binding %s is not SOAP 1.1 document over HTTP" % (path, binding.get("name")))
        for operation in binding.findall("{%s}operation" % WSDL):
            name = operation.get("name")
            action = operation.find("{%s}operation" % SOAP11)
            if action is None or action.get("soapAction") != base + name:
                problems.append("%s: %s has action %r" % (path, name, None if action is None else action.get("soapAction")))
            for body in operation.iter("{%s}body" % SOAP11):
                if body.get("use") != "literal":
                    problems.append("%s: %s is not literal" % (path, name))
    for address in root.iter("{%s}address" % SOAP11):
        if not address.get("location", "").endswith("/soap"):
            problems.append("%s: address %s" % (path, address.get("location")))

    # Each embedded schema of the base namespace on its own through xmllint.
    for schema in root.iter("{%s}schema" % XSD):
        if schema.get("targetNamespace") != base:
            continue
        for uri in set(names.values()) - {base, XSD}:
            for imported in schema.findall("{%s}import" % XSD):
                if imported.get("namespace") == uri:
                    schema.remove(imported)
        with tempfile.NamedTemporaryFile("wb", suffix=".xsd", delete=False) as out:
            out.write(ET.tostring(schema))
        empty = out.name + ".xml"
        with open(empty, "w") as instance:
            instance.write('<GetUserCount xmlns="%s"/>' % base)
        run = subprocess.run(["xmllint", "--noout", "--schema", out.name, empty], capture_output=True, text=True)
        if "fails to compile" in run.stderr or "does not resolve" in run.stderr:
            problems.append("%s: embedded schema: %s" % (path, run.stderr.strip()))
        os.unlink(out.name)
        os.unlink(empty)


def main():
    directory, base = sys.argv[1], sys.argv[2]
    files = sorted(glob.glob(os.path.join(directory, "*.wsdl")))
    problems = [] if files else ["no description in " + directory]
    for path in files:
        check(path, base, problems)
    for problem in problems:
        print(problem)
    print("%d descriptions, %d problems" % (len(files), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
