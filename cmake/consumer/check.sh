#!/usr/bin/env bash
# Installs the built library into a scratch prefix and builds a consumer
# against it with find_package and with pkg-config.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S "$here" -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$prefix/consumer" >/dev/null
LD_LIBRARY_PATH="$prefix/lib:$prefix/lib/x86_64-linux-gnu" "$prefix/consumer/consumer"
libdir=$(dirname "$(find "$prefix" -name webservice.pc)")
PKG_CONFIG_PATH="$libdir" cc -std=c99 "$here/consumer.c" -o "$prefix/pc-consumer" $(PKG_CONFIG_PATH="$libdir" pkg-config --cflags --libs webservice)
LD_LIBRARY_PATH="$prefix/lib:$prefix/lib/x86_64-linux-gnu" "$prefix/pc-consumer"
