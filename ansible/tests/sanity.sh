#!/usr/bin/env bash
# The collection's sanity: those of ansible-test's sanity tests that run
# without a package index, then each module's documentation against its
# argument spec (what validate-modules checks, whose requirements ansible-test
# would install from one).  Usage: ansible/tests/sanity.sh PYTHON (one that
# imports ansible, such as Debian's /usr/bin/python3).
set -euo pipefail
python=${1:-/usr/bin/python3}
case $python in /*) ;; *) python=$PWD/$python ;; esac
cd "$(dirname "$0")/.."
export ANSIBLE_COLLECTIONS_PATH=$PWD
tests=(action-plugin-docs compile empty-init future-import-boilerplate line-endings metaclass-boilerplate
       no-assert no-basestring no-dict-iteritems no-dict-iterkeys no-dict-itervalues no-get-exception
       no-illegal-filenames no-main-display no-smart-quotes no-unicode-literals replace-urlopen shebang
       symlinks use-argspec-type-path use-compat-six)
version=$("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])')
(cd ansible_collections/webservice/devices &&
  ansible-test sanity --color no --python "$version" $(printf -- '--test %s ' "${tests[@]}") 2>&1 |
  grep -v 'locale\|Reviewing previous')
"$python" tests/argspec.py
