#!/usr/bin/env bash
# check-packages.sh BUILD-DIR
# Makes the packages of a build (its `package` target) and lists each one
# against the program folder it must hold: a missing or a stray file fails, as
# does a program that looks for its libraries outside its own folder.
set -euo pipefail
build=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT
cmake --build "$build" --target package >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
status=0

# expect PACKAGE LISTING-COMMAND PREFIX FILE...: the listing of PACKAGE is
# exactly PREFIX/FILE (FILE when PREFIX is empty) for each FILE, folders left
# out.
expect() {
  local package=$1 list=$2 prefix=$3
  shift 3
  local want have
  want=$(for file; do echo "${prefix:+$prefix/}$file"; done | sort)
  have=$($list "$build/$package" | grep -v '/$' | sort) || have=
  if [ "$want" = "$have" ]; then
    echo "$package: $# files as expected"
  else
    echo "$package does not hold the program folder (< expected, > found):"
    diff <(echo "$want") <(echo "$have") | grep '^[<>]' || true
    status=1
  fi
}
tar_list() { cmake -E tar tf "$1"; }
deb_list() { dpkg-deb --fsys-tarfile "$1" | tar t; }
deb_control() { dpkg-deb --ctrl-tarfile "$1" | tar t; }

shared=(README.txt corvane.ini s-readme.htm)
if [ -f "$build/bin/corvane.exe" ]; then
  expect "corvane-$version-win64.zip" tar_list "" \
    "${shared[@]}" corvane.exe skarrow.exe brellun.exe permlet.ocx unzip32.dll
else
  linux=("${shared[@]}" corvane skarrow brellun permlet.ocx permreg unzip32.so corvane-pure-ftpd)
  expect "corvane-$version-linux-$(uname -m).tar.gz" tar_list "corvane-$version-linux-$(uname -m)" \
    "${linux[@]}"
  deb="corvane_${version}_$(dpkg --print-architecture).deb"
  expect "$deb" deb_list ./opt/corvane "${linux[@]}"
  expect "$deb" deb_control . control md5sums conffiles preinst postinst prerm postrm
  # The programs, packed or in the build folder, search their own folder for
  # libraries and nothing else (an empty entry would be the working folder).
  for program in corvane skarrow brellun permreg permlet.ocx unzip32.so; do
    search=$(readelf -d "$build/bin/$program" | sed -n 's/.*Library runpath: \[\(.*\)\]$/\1/p')
    if [ -n "$search" ] && [ "$search" != '$ORIGIN' ]; then
      echo "$program searches \"$search\" for libraries, not its own folder alone"
      status=1
    fi
  done
fi
exit $status
