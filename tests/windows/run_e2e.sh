#!/usr/bin/env bash
# run_e2e.sh NATIVE-BUILD WINDOWS-BUILD
# Runs the end-to-end scenarios of the checker and skarrow against the Windows
# build under wine: the test programs of the native build, told by the
# environment to start the .exe files of the Windows build with Windows paths.
set -euo pipefail
native=$(realpath "$1")
windows=$(realpath "$2")

source "$(dirname "$0")/wine_env.sh"
# One wine server stays up for the whole run instead of one per program.
wineserver --persistent || true
trap 'wineserver --kill || true' EXIT

status=0
echo "== platform_win32_tests (under wine)"
wine "$windows/tests/platform_win32_tests.exe" --gtest_brief=1 || status=1
echo "== crc_kernel_win32_tests (under wine)"
wine "$windows/tests/crc_kernel_win32_tests.exe" --gtest_brief=1 || status=1
run() {
  echo "== $* (under wine)"
  "$native/tests/$@" --gtest_brief=1 || status=1
}
run checker_e2e_tests
run display_e2e_tests
run cleanup_tests --gtest_filter='Skarrow*'
# permlet.ocx (regsvr32, the COM client, the permission scenarios) and brellun.exe.
"$(dirname "$0")/../windows_com/run_wine_tests.sh" "$native" "$windows" || status=1
exit $status
