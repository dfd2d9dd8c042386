#!/usr/bin/python
# -*- coding: utf-8 -*-
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: webservice_call
short_description: Calls any one operation of a device
description:
  - Calls one operation (C(GetUserList), C(SetTTL), C(Reboot), ...) with its
    request, through the C(webservice) Python package, and returns the answer.
  - An operation whose name begins with C(Get) reports no change; any other
    reports a change (C(changed_when) decides otherwise). In check mode only
    C(Get) operations are sent.
  - The task fails when the call fails or the device refuses it (a false result
    or a nonzero resultCode).
version_added: 1.0.0
options:
  operation:
    description: The operation's name, as C(wsctl list) prints it (any case).
    type: str
    required: true
  request:
    description: The request record as a dict, in the shape C(wsctl) prints records.
    type: dict
    default: {}
extends_documentation_fragment: [webservice.devices.device]
attributes:
  check_mode:
    support: partial
    description: Get operations are sent; the others are reported and not sent.
'''

EXAMPLES = r'''
- name: The same TTL on every device
  webservice.devices.webservice_call:
    host: "{{ ws_host }}"
    port: "{{ ws_port }}"
    operation: SetTTL
    request: {value: 32}
'''

RETURN = r'''
response:
  description: The answer as a dict, enumerations by their symbols, passwords masked.
  returned: when the operation answers with a record and was sent
  type: dict
'''

import traceback

from ansible.module_utils.basic import AnsibleModule, missing_required_lib
from ansible_collections.webservice.devices.plugins.module_utils.device import (DEVICE_ARGS, hide_passwords, masked,
                                                                                  plain)

try:
    import webservice
except ImportError:
    webservice = None
    IMPORT_ERROR = traceback.format_exc()


def main():
    module = AnsibleModule(
        argument_spec=dict(DEVICE_ARGS, operation=dict(type='str', required=True),
                           request=dict(type='dict', default={})),
        supports_check_mode=True)
    if webservice is None:
        module.fail_json(msg=missing_required_lib('webservice (the Python package in python/)'),
                         exception=IMPORT_ERROR)
    params = module.params
    hide_passwords(module, params['request'])
    reads = params['operation'].lower().startswith('get')
    if module.check_mode and not reads:
        module.exit_json(changed=True, msg='not sent in check mode')
    if params['ca_file']:
        webservice.set_ca_file(params['ca_file'])
    device = webservice.Device(params['host'], params['user'], params['password'], port=params['port'],
                               https=params['https'], kind=params['kind'])
    try:
        answer = device.call(params['operation'], params['request'])
    except (ValueError, TypeError) as problem:  # an unknown operation, a request its record cannot hold
        module.fail_json(msg=str(problem))
    except webservice.Refused as problem:
        module.fail_json(msg=str(problem), response=masked(plain(problem.answer)))
    except webservice.Error as problem:
        module.fail_json(msg=str(problem), status=int(problem.status), status_name=problem.name)
    module.exit_json(changed=not reads, response=masked(plain(answer)) if answer is not None else None)


if __name__ == '__main__':
    main()
