#!/usr/bin/env bash
# Installs what the programs need, builds them, installs a program folder and
# plays the server's part for a sample release: one checker run per finished
# upload, showing the release after each.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d /tmp/corvane-demo.XXXXXX)
log="$work/build.log"

# step MESSAGE COMMAND...: runs COMMAND with its output in the log, which is
# shown only when it fails.
step() {
  echo "== $1"
  shift
  "$@" >"$log" 2>&1 || { cat "$log" >&2; echo "demo: failed: $*" >&2; exit 1; }
}

echo "== Installing the packages the programs need (only those missing)"
tools/install-deps.sh programs
step "Configuring the build in build/" \
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF
echo "== Building the programs (a few minutes the first time)"
cmake --build build -j"$(nproc)" 2>&1 | tee "$log" |
  sed -n 's/^\[ *[0-9]*%\] Built target \(.*\)/   built \1/p' ||
  { cat "$log" >&2; echo "demo: the build failed" >&2; exit 1; }
prog="$work/program"
step "Installing a program folder in $prog" cmake --install build --prefix "$prog"
site="$work/site/Movies"
release="$site/Sample.Release-CORVANE"
mkdir -p "$release"

# The sample release: five files and the SFV that lists them.
crc32() {  # the CRC-32 that gzip keeps in its trailer
  gzip -c "$1" | tail -c8 | od -An -tx4 -N4 | tr -d ' \n' | tr a-f A-F
}
mkdir -p "$work/src"
for i in 1 2 3 4 5; do
  head -c $((100000 * i + 777)) /dev/urandom > "$work/src/sample.r0$i"
done
{
  printf '; sample release made by demo.sh\r\n'
  for i in 1 2 3 4 5; do
    printf 'sample.r0%s %s\r\n' "$i" "$(crc32 "$work/src/sample.r0$i")"
  done
} > "$work/src/sample.sfv"

show() {
  echo "---- $1"
  (cd "$site" && find . -mindepth 1 | sort | sed 's/^\.\//  /')
}

upload() {  # name, user: copy the file in, then start the checker as the server does
  local name=$1 user=$2 crc
  cp "$work/src/$name" "$release/$name"
  crc=$(crc32 "$release/$name")
  "$prog/corvane" "$release/$name" "$crc" "-u:$user" "-w:users" -l:100 "-s:demo" || true
  show "after $user uploaded $name"
}

upload sample.sfv alice
upload sample.r03 bob
upload sample.r01 alice
upload sample.r05 bob
# A transfer that went wrong: the file arrives damaged and is moved aside.
cp "$work/src/sample.r02" "$work/src/sample.r02.good"
printf 'garbage' | dd of="$work/src/sample.r02" bs=1 seek=1000 conv=notrunc 2>/dev/null
upload sample.r02 carol
mv "$work/src/sample.r02.good" "$work/src/sample.r02"
upload sample.r02 carol
upload sample.r04 alice

echo "---- the message file"
cat "$release/.message" 2>/dev/null | tr -d '\r' || true
echo "---- the rewritten SFV"
tr -d '\r' < "$release/sample.sfv"
cat <<EOT

Everything the demo made is kept in $work. Look at:
  the release folder   $release
  its message file     $release/.message
                       (the server shows it to users entering the folder)
  the parent entry     $site
                       ("(incomplete)-Sample.Release-CORVANE" stood there while files were
                       missing; the sample corvane.ini names none for a complete release)
  the rewritten SFV    $release/sample.sfv
  the program folder   $prog
                       (the programs, corvane.ini and the control's registration)
EOT
