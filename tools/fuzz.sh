#!/usr/bin/env bash
# The libFuzzer targets of tests/fuzz, built with clang into build-fuzz.
#
#   tools/fuzz.sh <target> <seconds> [libFuzzer options]   one target, for long
#   tools/fuzz.sh --ctest                                  all, briefly (test.sh)
#
# Targets: settings command_line sfv status_store templates diz zip
#          permission_file
# A long run keeps the inputs that reach new code in
# build-fuzz/fuzz-work/<target>/corpus and writes a crashing input to
# build-fuzz/fuzz-work/<target>/artifacts/. Once the fault is fixed, copy that
# input to tests/fuzz/regressions/<target>/ so that every fuzz run replays it.
set -euo pipefail
cd "$(dirname "$0")/.."
src=tests/fuzz

configure() {
  cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_TESTS=OFF -DCORVANE_FUZZ=ON >/dev/null
}

if [ "${1:-}" = "--ctest" ]; then
  configure
  cmake --build build-fuzz -j"$(nproc)" --target corvane_fuzzers
  cd build-fuzz
  exec ctest --output-on-failure -j"$(nproc)"
fi
if [ $# -lt 2 ] || [ ! -f "$src/${1}_fuzz.cpp" ]; then
  sed -n '4,8p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
fi
target=$1
seconds=$2
shift 2
configure
cmake --build build-fuzz -j"$(nproc)" --target "fuzz_$target"

# The same options as the bounded runs of ctest, with the time given.
work=build-fuzz/fuzz-work/$target
inputs=("$src/corpus/$target")
[ -d "$src/regressions/$target" ] && inputs+=("$src/regressions/$target")
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096
         -print_final_stats=1 -create_missing_dirs=1 -artifact_prefix="$work/artifacts/")
[ -f "$src/dict/$target.dict" ] && options+=(-dict="$src/dict/$target.dict")
exec "build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$@" "$work/corpus" "${inputs[@]}"
