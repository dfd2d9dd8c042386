#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds, starts the device simulator on
# loopback and drives it with wsctl: the device's identity, its accounts, then
# a video encoder setting edited as JSON and sent back.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${SKIP_DEPS:-0}" != 1 ]; then bash scripts/deps.sh; fi
cmake -S . -B build -G Ninja >/dev/null  # RelWithDebInfo unless build/ has a type
cmake --build build -j"$(nproc)" --target webservice-sim wsctl

SIM=build/sim/webservice-sim
WSCTL=build/tools/wsctl
out=$(mktemp)
"$SIM" --port 0 --no-port81 --user admin --password admin >"$out" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 100); do grep -q ready "$out" && break; sleep 0.1; done
port=$(sed -n 's/.*ready port=\([0-9]*\).*/\1/p' "$out")
echo "simulator listening on 127.0.0.1:$port"

wsctl() { "$WSCTL" --host 127.0.0.1 --port "$port" --user admin --password admin "$@"; }
ws() {
  echo
  echo "\$ wsctl $*"
  wsctl "$@" || true
}

ws probe
ws GetMaxChannel
ws GetChannelList
ws GetDeviceInformation
ws GetUserList
ws AddUser user.userID=operator user.password=secret user.userLevel=USER_POWER
ws GetUser user.userID=operator
ws AddUser user.userID=operator user.password=again user.userLevel=USER_NORMAL
ws SetSessionConfig config.enableAnonymous=true config.maxRTPStreamTime.0.hour=3 config.maxRTPStreamTime.1.minute=45
ws GetSessionConfig
ws GetVideoEncoderConfig channel=1 master=true
echo
echo "\$ wsctl GetVideoEncoderConfig channel=1 master=true | sed (MJPEG, 10 frames) | wsctl --json-in - SetVideoEncoderConfig channel=1 master=true"
wsctl GetVideoEncoderConfig channel=1 master=true |
  sed 's/"VIDEO_CODEC_H264"/"VIDEO_CODEC_MJPEG"/; s/"frameRate": [0-9]*/"frameRate": 10/' |
  wsctl --json-in - SetVideoEncoderConfig channel=1 master=true || true
ws GetVideoEncoderConfig channel=1 master=true

# A PTZ head: store a preset, move away, go back to it.
ws AddPreset channel=1 preset.alias=door preset.sequence=1
json_in() {  # wsctl with its request as JSON on standard input
  local json=$1; shift
  echo
  echo "\$ echo '$json' | wsctl --json-in - $*"
  echo "$json" | wsctl --json-in - "$@" || true
}
json_in '{"channel": 1, "items": [{"key": "command", "value": "RIGHT"}, {"key": "speed", "value": "30"}]}' ControlPTZ
ws GetPTZConfiguration channel=1
ws GotoPreset channel=1 text=door
ws GetPTZConfiguration channel=1

# The network's access sections, the SD card and a refusal from the device.
ws AddIPSection section.alias=office section.fromAddress=192.168.10.1 section.toAddress=192.168.10.99
ws AddIPSection section.alias=office section.fromAddress=192.168.20.1 section.toAddress=192.168.20.99
ws GetIPSectionList
ws GetSDInfo
echo
echo "\$ wsctl --password wrong GetUserCount"
"$WSCTL" --host 127.0.0.1 --port "$port" --user admin --password wrong GetUserCount || true

# A small simulated fleet: five devices on consecutive ports.  One device's
# configuration saved, changed and restored; then one setting applied to the
# whole fleet, one address of which answers nothing.
fleet_out=$(mktemp)
inventory=$(mktemp)
"$SIM" --port 0 --no-port81 --devices 5 --user admin --password admin >"$fleet_out" &
fleet_pid=$!
trap 'kill $sim_pid $fleet_pid 2>/dev/null; wait $sim_pid $fleet_pid 2>/dev/null; rm -f "$out" "$fleet_out" "$inventory"' EXIT
for _ in $(seq 100); do grep -q ready "$fleet_out" && break; sleep 0.1; done
cat "$fleet_out"
first=$(sed -n 's/.* ports=\([0-9]*\)-.*/\1/p' "$fleet_out")
for i in 0 1 2 3 4; do echo "127.0.0.1:$((first + i))"; done >"$inventory"
echo "127.0.0.1:1" >>"$inventory"  # nothing listens there
fleet_ws() {
  echo
  echo "\$ wsctl --port $first $*"
  "$WSCTL" --port "$first" --user admin --password admin "$@" || true
}
backup=$(mktemp)
echo
echo "\$ wsctl --port $first backup > backup.json"
"$WSCTL" --port "$first" --user admin --password admin backup >"$backup"
head -c 600 "$backup"; echo " ..."
fleet_ws SetVideoSourceConfig channel=2 config.enable=true config.contrast=80 config.brightness=40
fleet_ws AddPreset channel=1 preset.alias=door preset.sequence=1
fleet_ws restore "$backup" --dry-run
fleet_ws restore "$backup"
rm -f "$backup"
echo
echo "\$ cat inventory"
cat "$inventory"
echo
echo "\$ WSCTL_USER=admin WSCTL_PASSWORD=admin wsctl fleet --parallel 8 inventory SetTTL value=32"
WSCTL_USER=admin WSCTL_PASSWORD=admin "$WSCTL" fleet --parallel 8 "$inventory" SetTTL value=32 || true
