# The Ansible collection: its modules' documentation and arguments checked,
# then the example playbook against 20 simulated devices.  The modules run
# under a virtual environment of Debian's python (the one ansible-core uses)
# that holds the webservice package, installed without any package index.
set -eu
rm -rf build/ansible-venv
/usr/bin/python3 -m venv --system-site-packages build/ansible-venv
build/ansible-venv/bin/pip install --no-index --quiet ./python
bash ansible/tests/sanity.sh build/ansible-venv/bin/python
timeout 300 bash ansible/tests/fleet.sh build "$PWD/build/ansible-venv/bin/python"
