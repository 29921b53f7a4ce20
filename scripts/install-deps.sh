#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing that is
# already there. Safe to run again: every step checks first.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

packages=(
  cmake g++ make git python3 ca-certificates
  googletest libgtest-dev libcurl4-openssl-dev
  g++-mingw-w64-i686 wine wine64 wine32:i386
  xvfb xauth imagemagick fonts-wqy-microhei x11-utils
  dpkg-dev file ntfs-3g sleuthkit
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt_updated=0
fi
for p in "${packages[@]}"; do have_pkg "$p" || need+=("$p"); done

if [ "${#need[@]}" -gt 0 ] || [ "${apt_updated:-1}" = 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  if [ "${#need[@]}" -gt 0 ]; then
    echo "installing: ${need[*]}"
    apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  fi
fi
