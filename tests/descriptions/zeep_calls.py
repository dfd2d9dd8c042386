#!/usr/bin/env python3
"""A SOAP client built only from the description the simulator serves calls
every operation of every service in it, with arguments made from the
description's types, and must read every answer.

usage: zeep_calls.py SIMULATOR    (exit 77: zeep is not installed)
"""
import subprocess
import sys
import urllib.request
import xml.etree.ElementTree as ET

try:
    import zeep
    from zeep.xsd import ComplexType
except ImportError:
    print("SKIP: python3-zeep is not installed (apt-get install python3-zeep)")
    sys.exit(77)


XSD = "{http://www.w3.org/2001/XMLSchema}"
FIRST_SYMBOL = {}  # enumeration type name -> its first symbol


def sample(xsd_type):
    """A value of the type: the first symbol of an enumeration, 1, true, a text."""
    if isinstance(xsd_type, ComplexType):
        return {name: sample_of(e) for name, e in xsd_type.elements}
    name = xsd_type.qname.localname if getattr(xsd_type, "qname", None) else ""
    if name in FIRST_SYMBOL:
        return FIRST_SYMBOL[name]
    return {"int": 1, "boolean": True}.get(name, "text")


def sample_of(element):
    value = sample(element.type)
    return [value] if element.max_occurs != 1 else value


def main():
    # Reboot must not pause the simulator between the calls.
    sim = subprocess.Popen([sys.argv[1], "--port", "0", "--no-port81", "--reboot-seconds", "0"],
                           stdout=subprocess.PIPE, text=True)
    try:
        fields = dict(f.split("=", 1) for f in sim.stdout.readline().split()[2:])
        url = "http://127.0.0.1:%s/soap?wsdl" % fields["port"]
        for simple in ET.fromstring(urllib.request.urlopen(url).read()).iter(XSD + "simpleType"):
            symbols = simple.findall("%srestriction/%senumeration" % (XSD, XSD))
            if symbols:
                FIRST_SYMBOL[simple.get("name")] = symbols[0].get("value")
        client = zeep.Client(url)
        calls = 0
        for service in client.wsdl.services.values():
            for port in service.ports.values():
                proxy = client.bind(service.name, port.name)
                for name, operation in port.binding._operations.items():
                    element = operation.input.body
                    arguments = {e.name: sample_of(e) for _, e in element.type.elements} if element else {}
                    answer = getattr(proxy, name)(**arguments)
                    calls += 1
                    # zeep hands back the value itself when resultCode is the only member.
                    output = operation.output.body
                    members = [e.name for _, e in output.type.elements] if output else []
                    if members == ["resultCode"]:
                        if not isinstance(answer, int):
                            print("%s: answer is not its resultCode: %r" % (name, answer))
                            return 1
                    elif answer is not None and "resultCode" not in answer:
                        print("%s: answer without resultCode: %r" % (name, answer))
                        return 1
        print("%d operations called" % calls)
        return 0 if calls else 1
    finally:
        sim.terminate()
        sim.wait()


if __name__ == "__main__":
    sys.exit(main())
