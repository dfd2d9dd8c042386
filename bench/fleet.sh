#!/bin/sh
# The fleet benchmark: wsctl fleet reading GetDeviceInformation from N
# simulated devices (one simulator, --devices N) with 1, 8 and 64 calls in
# flight, as devices per second, beside the same number of calls to one
# device one after another; and wsctl's peak memory at 64 in flight.
#   bench/fleet.sh [N]          (N defaults to 1000)
# Builds wsctl and the simulator in $WS_BENCH_BUILD (default build-bench,
# Release) unless WS_BENCH_NO_BUILD is set.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${WS_BENCH_BUILD:-$root/build-bench}
count=${1:-1000}
if [ -z "${WS_BENCH_NO_BUILD:-}" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target wsctl webservice-sim >"$build/fleet-build.log" 2>&1 ||
    { tail -40 "$build/fleet-build.log"; exit 1; }
fi
work=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"' EXIT INT TERM
"$build/sim/webservice-sim" --port 0 --no-port81 --devices "$count" >"$work/ready" 2>"$work/sim.log" &
sim=$!
for _ in $(seq 100); do grep -q ready "$work/ready" && break; sleep 0.1; done
first=$(sed -n 's/.* ports=\([0-9]*\)-.*/\1/p' "$work/ready")
[ -n "$first" ] || { echo "the simulator did not start: $(cat "$work/sim.log")"; exit 1; }
i=0
while [ "$i" -lt "$count" ]; do
  echo "127.0.0.1:$((first + i))" >>"$work/fleet"
  echo "127.0.0.1:$first" >>"$work/one"
  i=$((i + 1))
done

# Runs one fleet call; prints "devices/s peak-KiB".
run() {
  /usr/bin/time -v "$build/tools/wsctl" fleet --parallel "$2" "$1" GetDeviceInformation \
    >"$work/out" 2>"$work/err" || { tail -5 "$work/err"; exit 1; }
  rate=$(sed -n 's/.*(\([0-9.]*\) devices\/s.*/\1/p' "$work/err")
  peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/err")
  echo "$rate $peak"
}

printf '%-44s %12s %14s\n' "wsctl fleet GetDeviceInformation" "devices/s" "peak RSS KiB"
set -- $(run "$work/one" 1)
printf '%-44s %12s %14s\n' "one device, $count calls, 1 in flight" "$1" "$2"
for parallel in 1 8 64; do
  set -- $(run "$work/fleet" "$parallel")
  printf '%-44s %12s %14s\n' "$count devices, $parallel in flight" "$1" "$2"
done
