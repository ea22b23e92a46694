#!/usr/bin/env bash
# Installs the Debian packages of the Windows build and its test run (the
# mingw-w64 cross tools, zlib for them, wine), only those missing.
set -euo pipefail
packages=(g++-mingw-w64-x86-64 mingw-w64-tools libz-mingw-w64-dev wine wine64)
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
