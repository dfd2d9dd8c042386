#!/usr/bin/python
# -*- coding: utf-8 -*-
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: webservice_info
short_description: Reads one device's settings, as a backup does
description:
  - Reads every setting of the device with C(wsctl backup) and returns the
    backup document, whose C(settings) (or a part of them) are what
    M(webservice.devices.webservice_config) takes as the desired state.
  - Passwords in the settings are masked unless O(passwords) is set.
version_added: 1.0.0
options:
  include:
    description: Settings that belong to one device that are read too (C(IPv4) is by default).
    type: list
    elements: str
    default: []
  only:
    description: Return only the settings read by these Get operations (all when empty).
    type: list
    elements: str
    default: []
  passwords:
    description: Return the passwords the device answers with, unmasked.
    type: bool
    default: false
extends_documentation_fragment: [webservice.devices.device]
attributes:
  check_mode:
    support: full
    description: Reads only, as in a normal run.
'''

EXAMPLES = r'''
- name: The NTP setting of every device, as facts
  webservice.devices.webservice_info:
    host: "{{ ws_host }}"
    port: "{{ ws_port }}"
    only: [GetDateTimeConfig]
  register: device
- ansible.builtin.debug:
    var: device.settings[0].response.config.ntpServer
'''

RETURN = r'''
backup:
  description: The backup document (format, device, identity, time), without its settings.
  returned: always
  type: dict
settings:
  description: The settings, each its operation, request and response.
  returned: always
  type: list
  elements: dict
summary:
  description: wsctl backup's summary line.
  returned: always
  type: str
'''

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.webservice.devices.plugins.module_utils.device import DEVICE_ARGS, Wsctl, last_line, masked


def main():
    module = AnsibleModule(
        argument_spec=dict(DEVICE_ARGS, include=dict(type='list', elements='str', default=[]),
                           only=dict(type='list', elements='str', default=[]),
                           passwords=dict(type='bool', default=False, no_log=False)),
        supports_check_mode=True)
    args = ['backup']
    for name in module.params['include']:
        args += ['--include', name]
    rc, out, err = Wsctl(module).run(*args)
    if rc != 0:
        module.fail_json(msg=last_line(err) or 'wsctl backup exited with %d' % rc, rc=rc)
    try:
        document = json.loads(out)
    except ValueError as problem:
        module.fail_json(msg='wsctl backup printed no document: %s' % problem)
    settings = document.pop('settings', [])
    only = set(module.params['only'])
    if only:
        settings = [setting for setting in settings if setting.get('operation') in only]
    if not module.params['passwords']:
        settings = masked(settings)
    module.exit_json(changed=False, backup=document, settings=settings, summary=last_line(err))


if __name__ == '__main__':
    main()
