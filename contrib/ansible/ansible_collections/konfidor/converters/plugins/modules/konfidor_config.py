#!/usr/bin/python
# Sets device settings of one network converter through the konfidor program.

from __future__ import annotations

DOCUMENTATION = r'''
---
module: konfidor_config
short_description: Set device settings of a network converter
description:
  - Runs C(konfidor --check --json) against one converter. The program logs in,
    builds the device's sheet, gives each setting its value through the sheet
    (the widget that binds it, so that the sheet's own rules run) and runs
    "Set" only when a setting differs from the device's configuration.
  - Runs on the controller; point the task at the converter with C(address).
  - In check mode the program is run with C(--diff) and sends nothing.
options:
  address:
    description: The converter's address.
    type: str
    required: true
  password:
    description: The converter's password.
    type: str
    required: true
  port:
    description: The converter's configuration port.
    type: int
    default: 9999
  settings:
    description:
      - The settings to give values, C(NODE.attribute) to value, as the sheet's
        bindings name them (for example C(NET.ip), C(COM1.baud)).
    type: dict
    default: {}
  sheets:
    description: The directory the sheet files are looked for in; by default the program's own places.
    type: path
  reconnect:
    description: Log in again after the device took the settings and reset, as the operator's "Ano" does.
    type: bool
    default: true
  konfidor:
    description: The program to run.
    type: path
    default: konfidor
'''

EXAMPLES = r'''
- name: Site settings
  konfidor.converters.konfidor_config:
    address: "{{ converter_address }}"
    password: "{{ converter_password }}"
    settings:
      INFO.location: "Rozvodna {{ inventory_hostname }}"
      COM1.baud: "9600"
'''

RETURN = r'''
result:
  description: How it ended, as the program's report says.
  type: str
  returned: always
  sample: applied
changes:
  description: The settings that differed, with their values before and after.
  type: list
  elements: dict
  returned: always
device:
  description: The converter's type, version, serial and address.
  type: dict
  returned: always
messages:
  description: The program's dialog texts, in order.
  type: list
  elements: str
  returned: always
'''

import json

from ansible.module_utils.basic import AnsibleModule

# Results after which the device holds what was asked (or would, in check mode).
SUCCEEDED = ('unchanged', 'applied', 'dry-run')


def command(params, check_mode):
    args = [params['konfidor'], '--check', '--json',
            '--address', params['address'], '--port', str(params['port']),
            '--password', params['password'],
            '--answer', 'yes' if params['reconnect'] else 'no']
    if params['sheets']:
        args += ['--sheets', params['sheets']]
    for setting, value in params['settings'].items():
        args += ['--set', '%s=%s' % (setting, value)]
    if check_mode:
        args.append('--diff')
    return args


def text_of(changes, side):
    return ''.join('%s=%s\n' % (c['setting'], '' if c[side] is None else c[side])
                   for c in changes)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            address=dict(type='str', required=True),
            password=dict(type='str', required=True, no_log=True),
            port=dict(type='int', default=9999),
            settings=dict(type='dict', default={}),
            sheets=dict(type='path'),
            reconnect=dict(type='bool', default=True),
            konfidor=dict(type='path', default='konfidor'),
        ),
        supports_check_mode=True,
    )
    rc, out, err = module.run_command(command(module.params, module.check_mode),
                                      environ_update={'QT_QPA_PLATFORM': 'offscreen'})
    lines = out.strip().splitlines()
    try:
        report = json.loads(lines[-1])
    except (IndexError, ValueError):
        module.fail_json(msg='konfidor gave no report (exit %d): %s' % (rc, err.strip()), rc=rc)

    changes = report.get('changes', [])
    result = report.get('result', 'failed')
    facts = dict(result=result, changes=changes, device=report.get('device', {}),
                 messages=report.get('messages', []), rc=rc)
    # A device that took part of the settings has changed all the same.
    changed = bool(changes) and result in ('applied', 'dry-run', 'partially-applied')
    diff = dict(before=text_of(changes, 'before'), after=text_of(changes, 'after'))
    if rc != 0 or result not in SUCCEEDED:
        why = ' '.join(facts['messages']) or err.strip() or 'konfidor ended with status %d' % rc
        module.fail_json(msg='%s: %s' % (result, why), changed=changed, diff=diff, **facts)
    module.exit_json(changed=changed, diff=diff, **facts)


if __name__ == '__main__':
    main()
