#!/usr/bin/env bash
# mutants.sh [NAME ...]
# Checks that the test suite catches the faults of tools/mutants/*.diff (or of
# the named ones): each diff breaks one rule (its first line says which). In a
# scratch copy of this tree it applies the diff, builds, runs the native suite
# until the first failure, and reverts the diff. Prints "caught by <test>" or
# "MISSED" per mutation and exits 1 when one is missed, does not apply or does
# not build (a mutation that does not build is broken, not caught).
#
# The copy and its one build folder stay under ${TMPDIR:-/tmp}/corvane-mutants/
# between runs, so a mutation rebuilds only what it touches; ccache serves the
# objects of the reverted sources.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$PWD
scratch=${TMPDIR:-/tmp}/corvane-mutants/$(basename "$tree")
src=$scratch/src
build=$scratch/build
# Paths relative to the scratch root, and no working folder in the hash, so the
# copies of other trees share their objects.
export CCACHE_BASEDIR=${TMPDIR:-/tmp}/corvane-mutants CCACHE_NOHASHDIR=1

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for diff in tools/mutants/*.diff; do names+=("$(basename "$diff" .diff)"); done
fi
for name in "${names[@]}"; do
  [ -f "tools/mutants/${name%.diff}.diff" ] || { echo "no mutation tools/mutants/$name.diff" >&2; exit 2; }
done

tools/install-deps.sh tests mutants
mkdir -p "$scratch"
exec 9>"$scratch/lock"
flock 9
# Without times, so that every file that differs gets a new one and is rebuilt.
rsync -rl --checksum --delete --exclude='/build*/' --exclude=/.git --exclude=/tests/fuzz/ \
  "$tree/" "$src/"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=ON \
  -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null

# Builds and runs the suite; prints the first failing test, or nothing.
first_failure() {
  cmake --build "$build" -j"${JOBS:-2}" >"$scratch/build.log" 2>&1 || return 1
  rm -f "$build/Testing/Temporary/LastTestsFailed.log"
  (cd "$build" && ctest --stop-on-failure --timeout 600 >"$scratch/ctest.log" 2>&1) || true
  if [ -f "$build/Testing/Temporary/LastTestsFailed.log" ]; then
    head -n 1 "$build/Testing/Temporary/LastTestsFailed.log" | cut -d: -f2-
  fi
}

if ! failed=$(first_failure); then
  echo "the unchanged tree does not build: see $scratch/build.log" >&2
  exit 1
elif [ -n "$failed" ]; then
  echo "the unchanged tree fails $failed: see $scratch/ctest.log" >&2
  exit 1
fi

caught=0 missed=0 broken=0
for name in "${names[@]}"; do
  diff=$tree/tools/mutants/${name%.diff}.diff
  name=$(basename "$diff" .diff)
  if ! git -C "$src" apply "$diff" 2>/dev/null; then
    echo "$name: does not apply"
    broken=$((broken + 1))
    continue
  fi
  if ! failed=$(first_failure); then
    echo "$name: does not build (a broken mutation)"
    broken=$((broken + 1))
  elif [ -n "$failed" ]; then
    echo "$name: caught by $failed"
    caught=$((caught + 1))
  else
    echo "$name: MISSED ($(head -n 1 "$diff" | sed 's/^# *//'))"
    missed=$((missed + 1))
  fi
  git -C "$src" apply -R "$diff"
done
echo "${#names[@]} mutations: $caught caught, $missed missed, $broken broken"
[ $((missed + broken)) -eq 0 ]
