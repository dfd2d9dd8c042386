#!/usr/bin/env bash
# Downloads the source package of the installed soapcpp2 (`gsoap`, exactly its
# version) into a cache directory, third_party/gsoap/ by default.  Nothing is
# unpacked here: the build unpacks the runtime into its own tree.
#   scripts/fetch-runtime-source.sh [CACHE_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${1:-$root/third_party/gsoap}
version=$(dpkg-query -W -f='${Version}' gsoap)
upstream=${version#*:}
upstream=${upstream%-*}
mkdir -p "$cache"
if [ -f "$cache/gsoap_${version#*:}.dsc" ] && [ -f "$cache/gsoap_${upstream}.orig.tar.gz" ]; then
  exit 0
fi
# apt's download user must be able to write here, or apt falls back to
# downloading as root with a warning; either works.
cd "$cache"
apt-get source --download-only "gsoap=$version"
