#!/usr/bin/env bash
# The example playbook against 20 simulated devices: a check run that writes
# nothing, a first run that changes every device, a second that changes none,
# a refusal that fails one host only (its writes taken back), a staged
# rollout stopped by its failure threshold, and no credential in any output.
# Usage: ansible/tests/fleet.sh BUILD_DIR PYTHON (the interpreter that
# imports webservice).
set -euo pipefail
cd "$(dirname "$0")/../.."
build=$(cd "$1" && pwd) python=$2
work=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "ansible fleet test: $*" >&2; exit 1; }

device_password=Dv7-$RANDOM-device-secret operator_password=Op3-$RANDOM-operator-secret
"$build/sim/webservice-sim" --port 0 --no-port81 --devices 20 --user admin --password "$device_password" \
  >"$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do grep -q ready "$work/sim.out" && break; sleep 0.1; done
first=$(sed -n 's/.* ports=\([0-9]*\)-.*/\1/p' "$work/sim.out")
[ -n "$first" ] || fail "the simulator did not start"

{
  echo "devices:"
  echo "  hosts:"
  for n in $(seq 20); do
    printf '    device%02d: {ws_host: 127.0.0.1, ws_port: %d}\n' "$n" $((first + n - 1))
    echo "127.0.0.1:$((first + n - 1))" >>"$work/wsctl-inventory"
  done
  echo "  vars: {device_user: admin, ansible_python_interpreter: $python}"
} >"$work/inventory.yml"
# As a vault would hold them; the file is only this user's.
printf 'device_password: %s\noperator_password: %s\n' "$device_password" "$operator_password" >"$work/secrets.yml"
chmod 600 "$work/secrets.yml"

export ANSIBLE_COLLECTIONS_PATH=$PWD/ansible ANSIBLE_FORKS=10 ANSIBLE_HOST_KEY_CHECKING=False
export ANSIBLE_PIPELINING=True ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=False ANSIBLE_LOCALHOST_WARNING=False
export WEBSERVICE_WSCTL=$build/tools/wsctl
log=$work/all-output
# play NAME [ansible-playbook arguments] [PLAYBOOK]: the example playbook
# unless another is named last; its output in $work/NAME, its exit code in $rc.
play() {
  local name=$1
  shift
  local start=$SECONDS
  rc=0
  case "${*: -1}" in *.yml) ;; *) set -- "$@" ansible/examples/fleet.yml ;; esac
  ansible-playbook -i "$work/inventory.yml" -e @"$work/secrets.yml" "$@" >"$work/$name" 2>&1 || rc=$?
  echo "ansible fleet test: $name in $((SECONDS - start)) s"
  cat "$work/$name" >>"$log"
}
# recap NAME HOST: the recap line of that host.
recap() { grep -E "^$2 +:" "$work/$1" || true; }
# hosts_with NAME PATTERN: how many hosts' recap lines match.
hosts_with() { grep -E "^device[0-9]+ +:" "$work/$1" | grep -cE "$2" || true; }
# devices_with OPERATION TEXT: how many devices answer with TEXT.
devices_with() {
  WSCTL_USER=admin WSCTL_PASSWORD=$device_password "$build/tools/wsctl" fleet --parallel 8 \
    "$work/wsctl-inventory" "$1" 2>/dev/null | grep -cF "$2" || true
}
device_answer() {
  WSCTL_USER=admin WSCTL_PASSWORD=$device_password "$build/tools/wsctl" --port $((first + $1 - 1)) "$2"
}

# Check mode plans every device's change, shows it, and writes nothing.
play check --check --diff
[ "$rc" = 0 ] || { cat "$work/check"; fail "the check run failed"; }
[ "$(hosts_with check 'changed=1 .*failed=0')" = 20 ] || { cat "$work/check"; fail "check: not 20 changes planned"; }
grep -q '^+serverAddress: "ntp.example.net"' "$work/check" || { cat "$work/check"; fail "check: no diff"; }
[ "$(devices_with GetUserList '"operator"')" = 0 ] || fail "the check run wrote"

# The first run changes every device; a second changes none.
play first --diff
[ "$rc" = 0 ] || { cat "$work/first"; fail "the first run failed"; }
[ "$(hosts_with first 'changed=1 .*failed=0')" = 20 ] || { cat "$work/first"; fail "first: not 20 changed"; }
[ "$(devices_with GetDateTimeConfig '"ntp.example.net"')" = 20 ] || fail "first: NTP not set on every device"
[ "$(devices_with GetUserList '"operator"')" = 20 ] || fail "first: the operator not added everywhere"
play second -vvv
[ "$rc" = 0 ] || { cat "$work/second"; fail "the second run failed"; }
[ "$(hosts_with second 'ok=1 +changed=0 .*failed=0')" = 20 ] || { cat "$work/second"; fail "second: a change"; }

# The other modules on two devices: a setting read, calls answered and refused.
play info-call --limit device01,device02 ansible/tests/info-call.yml
[ "$rc" = 0 ] || { cat "$work/info-call"; fail "info and call failed"; }

# A value one device refuses (schedules are numbered from 1) fails that host
# only, the other four of its five go on; its operator's new password, written before the refusal, is taken
# back and its NTP server is not written.
printf 'devices:\n  hosts:\n    device07: {schedule_id: 0}\n' >"$work/refuses.yml"
play refusal -i "$work/refuses.yml" --limit device06,device07,device08,device09,device10 -e ntp_server=ntp2.example.net \
  -e operator_password=Op4-other-secret
[ "$rc" = 2 ] || { cat "$work/refusal"; fail "refusal: exit $rc, not 2"; }
recap refusal device07 | grep -q 'failed=1' || { cat "$work/refusal"; fail "refusal: device07 did not fail"; }
[ "$(hosts_with refusal 'changed=1 .*failed=0')" = 4 ] || { cat "$work/refusal"; fail "refusal: the others did not go on"; }
grep -q '"action": "undone"' "$work/refusal" || { cat "$work/refusal"; fail "refusal: nothing undone"; }
device_answer 7 GetDateTimeConfig | grep -qF '"ntp.example.net"' || fail "refusal: device07's NTP changed"
device_answer 7 GetUserList | grep -qF "\"$operator_password\"" || fail "refusal: device07's operator not restored"

# Batches of 5 with at most 20% failed: two refusals in the first batch stop
# the rollout before the second.
printf 'devices:\n  hosts:\n    device01: {schedule_id: 0}\n    device02: {schedule_id: 0}\n' >"$work/two.yml"
play rollout -i "$work/two.yml" -e ntp_server=ntp3.example.net -e rollout_batch=5 -e rollout_max_fail=20
[ "$rc" != 0 ] || { cat "$work/rollout"; fail "rollout: not stopped"; }
[ "$(hosts_with rollout 'changed=1 .*failed=0')" = 3 ] || { cat "$work/rollout"; fail "rollout: not 3 changed"; }
[ -z "$(recap rollout device06)" ] || { cat "$work/rollout"; fail "rollout: went on to the second batch"; }
[ "$(devices_with GetDateTimeConfig '"ntp3.example.net"')" = 3 ] || fail "rollout: not 3 devices changed"

# No credential in any output, at any verbosity used above.
for secret in "$device_password" "$operator_password" Op4-other-secret; do
  if grep -qF "$secret" "$log"; then grep -nF "$secret" "$log" | head -3; fail "a credential in the output"; fi
done
echo "ansible fleet test: passed"
