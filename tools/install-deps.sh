#!/usr/bin/env bash
# install-deps.sh [--ftp-server | PACKAGE ...]
# Installs the Debian packages given (by default those the native build and
# its tests need), only those missing. --ftp-server: what the end-to-end test
# through a real FTP server needs (the server, its upload script, the client,
# pgrep).
set -euo pipefail
packages=("$@")
if [ "${1:-}" = "--ftp-server" ]; then
  packages=(pure-ftpd curl procps)
fi
if [ ${#packages[@]} -eq 0 ]; then
  packages=(cmake g++ make pkg-config libgtest-dev zlib1g-dev libfltk1.3-dev libzip-dev xvfb xauth
            clang libclang-rt-dev)  # clang and its runtimes: the libFuzzer targets
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
