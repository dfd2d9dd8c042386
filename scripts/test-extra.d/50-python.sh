# The Python package: installed with pip from the source tree into a virtual
# environment under build/, without any package index, and its tests run
# against the simulator.  pytest is Debian's, seen through the system site
# packages.
set -eu
rm -rf build/pyenv
/usr/bin/python3 -m venv --system-site-packages build/pyenv
build/pyenv/bin/pip install --no-index --quiet ./python
timeout 300 build/pyenv/bin/python -m pytest -q -p no:cacheprovider python/tests
