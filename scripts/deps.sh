#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, and
# fetches the source of the SOAP runtime that the library compiles in (the
# `gsoap` source package of exactly the installed soapcpp2's version) into
# third_party/gsoap/, which git ignores.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
root=$(cd "$(dirname "$0")/.." && pwd)

# Source entries next to the binary ones: a deb-src stanza (or line) for each
# deb one, same address, suites and components.
add_source_entries() {
  local sources=/etc/apt/sources.list.d/debian.sources list=/etc/apt/sources.list
  if grep -rqsE '^[[:space:]]*(Types:.*deb-src|deb-src[[:space:]])' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    return
  fi
  if [ -f "$sources" ]; then
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         /(^|\n)Types:[^\n]*deb([ \t]|\n|$)/ { sub(/(^|\n)Types:[^\n]*/, "\nTypes: deb-src"); sub(/^\n/, ""); print }' \
      "$sources" | $SUDO tee /etc/apt/sources.list.d/webservice-src.sources >/dev/null
  elif [ -f "$list" ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list" | $SUDO tee /etc/apt/sources.list.d/webservice-src.list >/dev/null
  else
    echo "deps.sh: no apt source list found to add the gsoap source entry to" >&2
    exit 1
  fi
}

add_source_entries
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build pkg-config ca-certificates openssl binutils \
  gsoap libgsoap-dev libcurl4-openssl-dev libssl-dev libhttp-parser-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  clang libclang-rt-14-dev valgrind python3 python3-zeep libxml2-utils \
  python3-venv python3-pip python3-pytest groff-base man-db ansible-core \
  nlohmann-json3-dev

bash "$root/scripts/fetch-runtime-source.sh"
