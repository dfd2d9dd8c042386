#!/usr/bin/env bash
# Builds the Windows DLLs on this Debian machine, 64-bit and 32-bit, and
# tests each under Wine against the Linux simulator on loopback.
#
#   bash scripts/windows.sh
#   WS_WINDOWS_ARCHS=x86_64 bash scripts/windows.sh   # the 64-bit DLL only
#
# - Installs with apt what is missing: the mingw-w64 cross compilers (the
#   "posix" variant: the "win32" one has no std::mutex) and wine64, without
#   recommended packages; the library's own build dependencies come from
#   scripts/deps.sh when soapcpp2 is missing.
# - Builds build-windows/<arch> for each of $WS_WINDOWS_ARCHS (default
#   "x86_64 i686"): WebService.dll, its import library WebService.lib and
#   export list WebService.def, and the test program; copies the 64-bit DLL
#   to build-windows/.  Optimised with -O1: the generated (de)serializers take
#   half the compile time of -O2, and under Wine the DLL's calls are bound by
#   WinInet, not by its own code.  ccache, when on PATH, is the compilers'
#   launcher.
# - Checks each DLL's exports against tests/exports/*.txt (the 172 exports
#   and the documented WebService_* extensions, undecorated, nothing else) and
#   its imports (system DLLs only).
# - Runs each test program against webservice-sim: $WS_SIM when set, else
#   build/sim/webservice-sim (built there when missing).  The 64-bit one under
#   wine64, the 32-bit one under the 32-bit Wine (/usr/lib/wine/wine, Debian's
#   wine32:i386), both in one prefix (build-windows/wineprefix, a 64-bit one
#   whose syswow64 holds the 32-bit system DLLs).  Without a 32-bit Wine the
#   32-bit DLL is built and its exports checked, not run, and the script says
#   so; WS_WINE32=1 installs it (the i386 architecture and about 150 packages).
#
# Environment: WS_WINDOWS_ARCHS (x86_64 and/or i686; default both), WS_SIM
# (simulator), WS_WINE32=1 (install the 32-bit Wine when missing), SKIP_DEPS=1
# (no apt), CCACHE_DISABLE=1 (compile without ccache).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-windows
start=$(date +%s)
step() { echo "== windows.sh [$(( $(date +%s) - start ))s] $*"; }
archs=${WS_WINDOWS_ARCHS:-x86_64 i686}
for arch in $archs; do
  case $arch in
    x86_64|i686) ;;
    *) echo "windows.sh: WS_WINDOWS_ARCHS: $arch is neither x86_64 nor i686" >&2; exit 2 ;;
  esac
done
wants() { [[ " $archs " == *" $1 "* ]]; }

# ---- tools --------------------------------------------------------------
if [ "${SKIP_DEPS:-0}" != 1 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  command -v soapcpp2 >/dev/null || bash scripts/deps.sh
  packages=()
  if wants x86_64; then
    command -v x86_64-w64-mingw32-g++-posix >/dev/null || packages+=(g++-mingw-w64-x86-64-posix)
  fi
  if wants i686; then
    command -v i686-w64-mingw32-g++-posix >/dev/null || packages+=(g++-mingw-w64-i686-posix)
  fi
  command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || packages+=(wine64)
  if wants i686 && [ "${WS_WINE32:-0}" = 1 ] && ! [ -x /usr/lib/wine/wine ]; then
    $SUDO dpkg --add-architecture i386
    $SUDO apt-get update
    packages+=(wine32:i386)
  fi
  if [ ${#packages[@]} -gt 0 ]; then
    step "apt-get install ${packages[*]}"
    $SUDO apt-get install -y --no-install-recommends "${packages[@]}" || {
      $SUDO apt-get update && $SUDO apt-get install -y --no-install-recommends "${packages[@]}"; }
  fi
  bash scripts/fetch-runtime-source.sh
fi
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
wine32=""
if [ -x /usr/lib/wine/wine ]; then wine32=/usr/lib/wine/wine; fi

# ---- the simulator (Linux) ----------------------------------------------
sim=${WS_SIM:-$root/build/sim/webservice-sim}
build_sim() {
  if [ -x "$sim" ] && [ -z "${WS_SIM:-}" ] && [ -f "$root/build/build.ninja" ]; then
    cmake --build "$root/build" --target webservice-sim >/dev/null  # up to date with the source
  elif ! [ -x "$sim" ]; then
    [ -f "$root/build/build.ninja" ] || cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$root/build" --target webservice-sim
  fi
}

# ---- the DLLs -------------------------------------------------------------
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
configure() {  # arch
  local dir=$out/$1
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$1.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
    "${launcher[@]}" -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$dir/bin" \
    -DWS_BUILD_TESTS=OFF -DWS_BUILD_SIM=OFF -DWS_BUILD_TOOLS=OFF -DWS_BUILD_BENCH=OFF >/dev/null
}
step "the simulator, when missing or out of date"
build_sim
for arch in $archs; do
  step "configure and build $arch"
  configure "$arch"
  # The DLL and the test program only: the rest of the tree (manual pages)
  # is made by programs that run on the build machine.
  cmake --build "$out/$arch" -j"$(nproc)" --target WebService windows_test
done
if wants x86_64; then
  cp "$out/x86_64/bin/WebService.dll" "$out/x86_64/WebService.lib" "$out/x86_64/WebService.def" "$out/"
fi

# ---- exports and imports -----------------------------------------------------
step "export check"
expected=$(cat tests/exports/*.txt | LC_ALL=C sort)
for arch in $archs; do
  dll=$out/$arch/bin/WebService.dll
  dump=$("$arch-w64-mingw32-objdump" -p "$dll")
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && /^\t\[/ {print $NF; next} on {on = 0}' <<<"$dump" |
            LC_ALL=C sort)
  count=$(grep -c '^DLL_WebService' <<<"$exports" || true)
  imports=$(awk '/DLL Name:/ {print toupper($3)}' <<<"$dump" | LC_ALL=C sort | tr '\n' ' ')
  echo "$arch: $(wc -l <<<"$exports") exports, $count of them DLL_WebService*; imports: $imports"
  if ! diff -u <(echo "$expected") <(echo "$exports"); then
    echo "windows.sh: $arch: the exports differ from tests/exports/*.txt" >&2
    exit 1
  fi
  [ "$count" = 172 ] || { echo "windows.sh: $arch: $count DLL_WebService exports, not 172" >&2; exit 1; }
  for dll_name in $imports; do
    case $dll_name in
      KERNEL32.DLL|MSVCRT.DLL|USER32.DLL|WININET.DLL|WS2_32.DLL) ;;
      *) echo "windows.sh: $arch: unexpected import $dll_name" >&2; exit 1 ;;
    esac
  done
done

# ---- the tests under Wine --------------------------------------------------------
step "simulators and certificates"
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A self-signed certificate, and a self-signed one that expired in 2021.
(
  cd "$work"
  key="openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes"
  $key -x509 -days 30 -keyout self.key -out self.pem -subj /CN=127.0.0.1
  $key -keyout old.key -out old.csr -subj /CN=127.0.0.1
  printf '[ca]\ndefault_ca=d\n[d]\ndatabase=index.txt\nnew_certs_dir=.\nserial=serial\ndefault_md=sha256\npolicy=p\n[p]\ncommonName=supplied\n' >ca.cnf
  echo 01 >serial
  : >index.txt
  openssl ca -batch -selfsign -config ca.cnf -keyfile old.key -in old.csr -out old.pem \
    -startdate 20200101000000Z -enddate 20210101000000Z
) >/dev/null 2>&1

# Starts a simulator with the given options; prints its /soap port.
start_sim() {
  local log=$work/sim$RANDOM
  "$sim" --port 0 --no-port81 "$@" >"$log" 2>"$log.err" &
  pids+=($!)
  for _ in $(seq 100); do
    if grep -q ready "$log"; then sed -n 's/.*ready port=\([0-9]*\).*/\1/p' "$log"; return; fi
    sleep 0.1
  done
  echo "windows.sh: the simulator did not start: $(cat "$log.err")" >&2
  exit 1
}
sim_port=$(start_sim)
self_port=$(start_sim --tls-cert "$work/self.pem" --tls-key "$work/self.key")
old_port=$(start_sim --tls-cert "$work/old.pem" --tls-key "$work/old.key")
refused_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$out/wineprefix
export DISPLAY=""  # headless: the platform dialog returns at once
# Wine's WinInet follows the *_proxy variables: loopback must not go to a proxy.
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY
step "Wine prefix"
"$wine64" wineboot --init >/dev/null 2>&1 || true
# One 64-bit prefix serves both test programs: the 32-bit Wine runs in its
# syswow64.  A prefix made before the 32-bit Wine was installed has no 32-bit
# system DLLs there yet: the update adds them.
if wants i686 && [ -n "$wine32" ] && ! [ -f "$WINEPREFIX/drive_c/windows/syswow64/wininet.dll" ]; then
  "$wine64" wineboot --update >/dev/null 2>&1 || true
fi

run_tests() {  # arch wine
  step "tests, $1, under $2"
  (cd "$out/$1/bin" && "$2" ./windows_test.exe --sim "$sim_port" --tls-self "$self_port" \
     --tls-expired "$old_port" --refused "$refused_port")
}
if wants x86_64; then run_tests x86_64 "$wine64"; fi
if wants i686; then
  if [ -n "$wine32" ]; then
    run_tests i686 "$wine32"
  else
    step "i686: no 32-bit Wine here (/usr/lib/wine/wine; WS_WINE32=1 installs it): its DLL is built and its exports checked, not run"
  fi
fi
"$wineserver" -k 2>/dev/null || true
step "done"
