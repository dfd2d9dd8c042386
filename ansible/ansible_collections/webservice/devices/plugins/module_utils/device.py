# -*- coding: utf-8 -*-
# The options every module of this collection shares (how to reach one device
# and who signs in), and the two ways the modules reach it: wsctl for a
# device's settings (backup and restore), the webservice package for a call.
from __future__ import absolute_import, division, print_function
__metaclass__ = type

import dataclasses
import enum
import json
import os
import tempfile

from ansible.module_utils.basic import env_fallback

DEVICE_ARGS = dict(
    host=dict(type='str', required=True),
    port=dict(type='int', default=80),
    kind=dict(type='int', default=0, choices=[0, 1, 2]),
    https=dict(type='bool', default=False),
    user=dict(type='str', fallback=(env_fallback, ['WEBSERVICE_USER'])),
    password=dict(type='str', no_log=True, fallback=(env_fallback, ['WEBSERVICE_PASSWORD'])),
    ca_file=dict(type='path'),
    wsctl=dict(type='str', default='wsctl', fallback=(env_fallback, ['WEBSERVICE_WSCTL'])),
)

MASK = '********'


def names_password(name):
    return 'password' in name.split(':')[-1].lower()


def masked(value):
    """value with every member whose name says password masked, as wsctl
    masks them in what it prints."""
    if isinstance(value, dict):
        return dict((name, MASK if names_password(name) and isinstance(member, str) else masked(member))
                    for name, member in value.items())
    if isinstance(value, list):
        return [masked(element) for element in value]
    return value


def hide_passwords(module, value):
    """Makes Ansible mask every password value holds (a user's, in a request or
    a desired setting) wherever it would show it: the task's arguments at
    -vvv, the result, an error."""
    if isinstance(value, dict):
        for name, member in value.items():
            if names_password(name) and isinstance(member, str) and member:
                module.no_log_values.add(member)
            else:
                hide_passwords(module, member)
    elif isinstance(value, list):
        for element in value:
            hide_passwords(module, element)


def plain(value):
    """A record of the webservice package as JSON values, enumerations by
    their symbols as wsctl prints them."""
    if dataclasses.is_dataclass(value) and not isinstance(value, type):
        return dict((f.name, plain(getattr(value, f.name))) for f in dataclasses.fields(value))
    if isinstance(value, enum.Enum):
        return value.name
    if isinstance(value, (list, tuple)):
        return [plain(element) for element in value]
    return value


class Wsctl:
    """wsctl run for one device, the credentials passed in its environment
    (never on its command line, where any user of the machine sees them)."""

    def __init__(self, module):
        self.module = module
        params = module.params
        self.path = module.get_bin_path(params['wsctl'], required=True) if os.sep not in params['wsctl'] \
            else params['wsctl']
        self.options = ['--host', params['host'], '--port', str(params['port']), '--kind', str(params['kind'])]
        if params['https']:
            self.options.append('--https')
        if params['ca_file']:
            self.options += ['--ca-file', params['ca_file']]
        self.environ = dict(WSCTL_USER=params['user'] or '', WSCTL_PASSWORD=params['password'] or '')

    def run(self, *args):
        """(exit code, standard output, standard error)."""
        return self.module.run_command([self.path] + self.options + list(args), environ_update=self.environ)

    def run_with_document(self, command, document, *args):
        """Runs the wsctl command on the document, held in a file only this
        user may read (it may hold passwords), with args after its name."""
        handle, name = tempfile.mkstemp(prefix='webservice-', suffix='.json')
        try:
            with os.fdopen(handle, 'w') as out:
                json.dump(document, out)
            return self.run(command, name, *args)
        finally:
            os.unlink(name)


def json_lines(text):
    """The JSON objects of a text one a line; other lines are left out."""
    lines = []
    for line in text.splitlines():
        try:
            value = json.loads(line)
        except ValueError:
            continue
        if isinstance(value, dict):
            lines.append(value)
    return lines


def last_line(text):
    lines = text.strip().splitlines()
    return lines[-1] if lines else ''
