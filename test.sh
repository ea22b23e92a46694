#!/usr/bin/env bash
# Installs what is needed, builds everything, runs every test and checks the
# packages.
#   ./test.sh              the native build (build/), the fuzz targets briefly
#   ./test.sh --windows    the Windows build (build-win/) under wine
#   ./test.sh --sanitize   the native suite under ASan + UBSan (build-asan/)
set -euo pipefail
cd "$(dirname "$0")"

# --windows: the Windows build (cross-compiled into build-win) under wine, with
# the end-to-end scenarios of the native test programs.
if [ "${1:-}" = "--windows" ]; then
  tools/install-deps.sh tests windows wine
  e2e_tests=(checker_e2e_tests display_e2e_tests cleanup_tests permlet_wine_e2e_tests updater_tests
    stress_tests)
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=ON >/dev/null
  cmake --build build -j"$(nproc)" --target "${e2e_tests[@]}"
  cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=ON >/dev/null
  cmake --build build-win -j"$(nproc)"
  tests/windows/run_e2e.sh build build-win
  exec tools/check-packages.sh build-win
fi
# --sanitize: the whole suite built with AddressSanitizer and
# UndefinedBehaviorSanitizer (into build-asan); the first finding fails its test.
if [ "${1:-}" = "--sanitize" ]; then
  tools/install-deps.sh tests
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_TESTS=ON -DCORVANE_SANITIZE=ON \
    >/dev/null
  cmake --build build-asan -j"$(nproc)"
  export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:strict_string_checks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0
  cd build-asan
  exec ctest --output-on-failure -j"$(nproc)" --timeout 1800
fi
tools/install-deps.sh tests packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_TESTS=ON >/dev/null
cmake --build build -j"$(nproc)"
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 600)
# Uploads through a real FTP server: pure-ftpd starts the hook for each.
tools/install-deps.sh ftp
tests/ftp/pure_ftpd_e2e.sh build/bin corvane.ini
# The programs built without FLTK and X11 (build-headless).
tools/headless-build.sh
# Every fuzz target for a few seconds on its seed corpus (clang, build-fuzz).
tools/fuzz.sh --ctest
tools/check-packages.sh build
