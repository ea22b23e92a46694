#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

# --windows: the Windows build (cross-compiled into build-win) under wine, with
# the end-to-end scenarios of the native test programs.
if [ "${1:-}" = "--windows" ]; then
  tools/install-deps.sh
  tests/windows/install-deps.sh
  e2e_tests=(checker_e2e_tests display_e2e_tests cleanup_tests)
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target "${e2e_tests[@]}"
  cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF >/dev/null
  cmake --build build-win -j"$(nproc)"
  exec tests/windows/run_e2e.sh build build-win
fi
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 600
