#!/usr/bin/env bash
# Builds libcurl for the Windows program once, from Debian's curl source
# package: HTTP only, static, no TLS. Later runs reuse build/curl-win32/install.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/curl-win32"
stamp="$out/install/.complete"
[ -f "$stamp" ] && exit 0

mkdir -p "$out"
cd "$out"
if ! ls -d curl-*/ >/dev/null 2>&1; then
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ /etc/apt/sources.list 2>/dev/null; then
    src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$src" ]; then
      sed 's/^Types: deb$/Types: deb-src/' "$src" > /etc/apt/sources.list.d/tovo-deb-src.sources
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' > /etc/apt/sources.list.d/tovo-deb-src.list
    fi
    apt-get update -qq
  fi
  apt-get source --download-only curl >/dev/null 2>&1 || apt-get source --download-only curl
  dpkg-source -x --no-check curl_*.dsc >/dev/null
fi
srcdir=$(ls -d curl-*/ | head -n 1)

cmake -S "$srcdir" -B build -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$out/install" \
  -DBUILD_SHARED_LIBS=OFF -DHTTP_ONLY=ON -DCURL_USE_SCHANNEL=OFF -DCURL_USE_OPENSSL=OFF \
  -DCURL_ZLIB=OFF -DUSE_LIBIDN2=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF \
  -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DENABLE_MANUAL=OFF \
  -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_UNICODE=ON >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
cmake --install build >/dev/null
touch "$stamp"
echo "libcurl for Windows installed in $out/install"
