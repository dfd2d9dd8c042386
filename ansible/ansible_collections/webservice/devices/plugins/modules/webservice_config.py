#!/usr/bin/python
# -*- coding: utf-8 -*-
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: webservice_config
short_description: Brings one device's settings to the state a document names
description:
  - The desired settings are a part of a backup document, as C(wsctl backup) and
    M(webservice.devices.webservice_info) write it, a list of settings, each the
    Get operation that reads it, the request that addresses it and the answer
    wanted.
  - Only what is named is applied. A setting's answer may name some of its
    members, the others keep the device's values; a list (users, recording
    schedules, servers, presets, ...) names the items it wants, matched by name,
    and the device's other items are kept.
  - The plan and the writes are those of C(wsctl restore --merge). It reads the
    device and writes only what differs, lists item by item, in the order of
    O(settings) (as in a backup, give a list before the setting that names its
    items, a schedule before its allocation); it changes the user it signs in
    as last, and when the device refuses a write part-way, it takes back the
    writes it made, newest first.
  - A device that already matches reports no change and is not written.
  - Passwords are masked in what the module returns and in its diff.
version_added: 1.0.0
options:
  settings:
    description:
      - The desired settings, each a dict with C(operation) (the Get that reads
        the setting, as in a backup), C(request) (its address, such as a channel;
        empty when it takes none) and C(response) (the values wanted).
    type: list
    elements: dict
    required: true
  include:
    description:
      - Settings that belong to one device (C(IPv4), C(MacAddress), C(Serial)) and
        are left out unless named here.
    type: list
    elements: str
    default: []
  keep_going:
    description:
      - Go on past a refused write and undo nothing, instead of stopping and taking
        back what was written.
    type: bool
    default: false
extends_documentation_fragment: [webservice.devices.device]
attributes:
  check_mode:
    support: full
    description: Plans and reports what would change; writes nothing.
  diff_mode:
    support: full
    description: Each setting or item that changes, from and to.
'''

EXAMPLES = r'''
- name: NTP, a recording schedule and a user
  webservice.devices.webservice_config:
    host: "{{ ws_host }}"
    port: "{{ ws_port }}"
    user: admin
    password: "{{ vault_device_password }}"
    settings:
      - operation: GetDateTimeConfig
        response:
          config: {timeMode: TIME_MODE_NTP, ntpServer: ntp.example.net}
      - operation: GetRecordingScheduleList
        response:
          items:
            - {scheduleID: 4, repeatOption: SCHEDULE_REPEAT_DAILY}
      - operation: GetUserList
        response:
          items:
            - {userID: operator, password: "{{ vault_operator_password }}", userLevel: USER_NORMAL}
'''

RETURN = r'''
changes:
  description: Each setting or item planned, as wsctl restore lists it (action,
    setting, request, item, from, to, error), passwords masked.
  returned: always
  type: list
  elements: dict
summary:
  description: wsctl restore's summary line.
  returned: always
  type: str
'''

import json
import re

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.webservice.devices.plugins.module_utils.device import (DEVICE_ARGS, Wsctl, hide_passwords,
                                                                                  json_lines, last_line)

# The actions of a restore's lines that are a change to the device, made or
# planned; undone and refused ones are not.
CHANGES = re.compile(r'^(changed|added|removed|would )')


def diff_of(line):
    """One changed setting or item as Ansible shows a diff: from and to."""
    name = line['setting']
    if line.get('request'):
        name += ' ' + json.dumps(line['request'], sort_keys=True)
    if 'item' in line:
        name += ' item ' + json.dumps(line['item'])

    def text(key):  # a member a line, so that the diff names each member that changes
        value = line.get(key)
        if isinstance(value, dict):
            return ''.join('%s: %s\n' % (member, json.dumps(value[member])) for member in sorted(value))
        return '' if value is None else json.dumps(value) + '\n'
    return dict(before_header=name, after_header=name, before=text('from'), after=text('to'))


def main():
    module = AnsibleModule(
        argument_spec=dict(DEVICE_ARGS, settings=dict(type='list', elements='dict', required=True),
                           include=dict(type='list', elements='str', default=[]),
                           keep_going=dict(type='bool', default=False)),
        supports_check_mode=True)
    hide_passwords(module, module.params['settings'])
    for index, setting in enumerate(module.params['settings']):
        if not isinstance(setting.get('operation'), str) or not isinstance(setting.get('response', {}), dict):
            module.fail_json(msg='settings[%d] needs an operation (a text) and a response (a dict)' % index)

    args = ['--merge']
    if module.check_mode:
        args.append('--dry-run')
    if module.params['keep_going']:
        args.append('--keep-going')
    for name in module.params['include']:
        args += ['--include', name]
    document = dict(format=1, settings=module.params['settings'])
    rc, out, err = Wsctl(module).run_with_document('restore', document, *args)

    lines = json_lines(out)
    changed = [line for line in lines if CHANGES.match(line.get('action', ''))]
    result = dict(changed=bool(changed), changes=lines, summary=last_line(err))
    if module._diff:
        result['diff'] = [diff_of(line) for line in changed]
    if rc != 0:
        failed = [line for line in lines if 'error' in line]
        why = '; '.join('%s: %s' % (line.get('setting'), line['error']) for line in failed[:3])
        module.fail_json(msg='%s%s' % (result['summary'] or 'wsctl restore exited with %d' % rc,
                                       ' (' + why + ')' if why else ''), rc=rc, **result)
    module.exit_json(**result)


if __name__ == '__main__':
    main()
