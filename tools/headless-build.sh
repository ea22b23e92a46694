#!/usr/bin/env bash
# headless-build.sh [BUILD-FOLDER]
# Builds every program with CORVANE_WINDOW=OFF (into build-headless) while the
# configure is kept from finding FLTK and X11, then checks that no program
# links them and that brellun offers the terminal update only.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-headless}
tools/install-deps.sh cmake g++ make zlib1g-dev
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=OFF \
  -DCORVANE_WINDOW=OFF -DCMAKE_DISABLE_FIND_PACKAGE_FLTK=ON \
  -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

bin="$build/bin"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed() {
  echo "headless build: $*" >&2
  exit 1
}
for program in "$bin"/*; do
  if ldd "$program" 2>/dev/null | grep -Eq 'libfltk|libX11'; then
    failed "$program links FLTK or X11"
  fi
done
# Started without arguments, brellun says that it has no window.
status=0
"$bin/brellun" >"$work/out" 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || failed "brellun without arguments ended with $status, not 2"
[ ! -s "$work/out" ] || failed "brellun without arguments wrote to standard output"
grep -q "this build has no window" "$work/err" || failed "brellun did not say it has no window"
# The terminal update works.
printf 'SITENAME=Site\r\n' >"$work/corvane.ini"
"$bin/brellun" --update "$work/corvane.ini" >/dev/null || failed "brellun --update failed"
grep -q '^SITENAME=Site' "$work/corvane.ini" || failed "brellun --update lost SITENAME"
echo "headless build: every program built without FLTK and X11; brellun updates from the terminal"
