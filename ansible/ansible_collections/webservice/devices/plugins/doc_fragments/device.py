# -*- coding: utf-8 -*-
from __future__ import absolute_import, division, print_function
__metaclass__ = type


class ModuleDocFragment(object):
    # How to reach one device and who signs in, shared by every module.
    DOCUMENTATION = r'''
options:
  host:
    description: The device's address.
    type: str
    required: true
  port:
    description: The device's TCP port (endpoint kinds 0 and 2).
    type: int
    default: 80
  kind:
    description:
      - The endpoint kind, 0 http[s]://host:port/soap, 1 http://host:81, 2 http://host:port.
    type: int
    default: 0
    choices: [0, 1, 2]
  https:
    description: Use https (endpoint kind 0).
    type: bool
    default: false
  user:
    description: The user to sign in as; else the environment variable C(WEBSERVICE_USER).
    type: str
  password:
    description:
      - The user's password; else the environment variable C(WEBSERVICE_PASSWORD).
      - Never logged nor returned; give it from a vault.
    type: str
  ca_file:
    description: Extra trusted authorities (PEM) for https.
    type: path
  wsctl:
    description:
      - The wsctl program, a path or a name looked up on PATH; else the environment
        variable C(WEBSERVICE_WSCTL).
    type: str
    default: wsctl
notes:
  - Runs on the control node (or the host a task is delegated to) for each device
    of the inventory, with the C(webservice) Python package importable by the
    interpreter the module runs under.
'''
