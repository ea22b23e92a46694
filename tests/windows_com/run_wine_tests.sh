#!/usr/bin/env bash
# run_wine_tests.sh NATIVE-BUILD WINDOWS-BUILD
# permlet.ocx and brellun.exe of the Windows build under wine:
#  - regsvr32 permlet.ocx, then the COM client (the registry entry, the
#    dispatch identifiers and types through IDispatch and the type library)
#    and the checker's permission scenarios with the registered control, and
#    many processes changing one permission file at once through it;
#  - regsvr32 /u permlet.ocx, and a second /u that must fail (nothing left
#    to unregister);
#  - brellun.exe --update on sample files;
#  - on a virtual display: brellun's window and its screenshot,
#    WINDOWS-BUILD/brellun-win32.png.
# Called by tests/windows/run_e2e.sh; runs on its own as well.
set -euo pipefail
native=$(realpath "$1")
windows=$(realpath "$2")

source "$(dirname "$0")/../windows/wine_env.sh"

control=$(winepath -w "$windows/bin/permlet.ocx")
status=0
check() {
  echo "== $1"
  shift
  "$@" || { echo "FAILED: $*"; status=1; }
}
native_test() {
  "$native/tests/$1" --gtest_brief=1 --gtest_filter="$2"
}
windows_test() {
  wine "$windows/tests/permlet_com_tests.exe" --gtest_brief=1 --gtest_filter="$1"
}
control_key_written() {
  wine reg query 'HKCR\CLSID\{0FC45993-7C08-4B1D-9FCC-3633210FCAF9}\InprocServer32' |
    grep -qF "$control"
}
second_unregister_fails() {
  ! wine regsvr32 /u /s "$control"
}
window_self_test() {
  wineserver --wait
  local shown
  shown=$(xvfb-run -a wine "$windows/bin/brellun.exe" --selftest 2>/dev/null)
  [[ "$shown" == *"frmMain shown: corvane INI updater"* ]]
}
# The window in wine's own desktop (which draws the caption), cut out: the
# first trim takes away the display around the desktop, the second the
# desktop around the window.
window_screenshot() {
  local shot="$windows/brellun-win32.png"
  rm -f "$shot"
  wineserver --wait
  xvfb-run -a -s "-screen 0 640x400x24" bash -c '
    wine explorer /desktop=brellun,560x360 "$1" & pid=$!
    sleep 8
    import -window root -trim +repage -trim +repage "$2"
    kill $pid; wait $pid 2>/dev/null || true' _ "$windows/bin/brellun.exe" "$shot" 2>/dev/null
  [ -s "$shot" ] && echo "screenshot: $shot"
}

check "regsvr32 permlet.ocx" wine regsvr32 /s "$control"
check "registry entries (reg query)" control_key_written
check "COM client (under wine)" windows_test '*'
check "the checker with the registered control" native_test permlet_wine_e2e_tests 'Registered*'
check "permission file changed by many processes at once, registered" \
  native_test stress_tests 'PermissionStress*'
check "regsvr32 /u permlet.ocx" wine regsvr32 /u /s "$control"
check "regsvr32 /u again fails" second_unregister_fails
check "brellun.exe --update" native_test updater_tests 'BrellunTerminal*'
if command -v xvfb-run >/dev/null && command -v import >/dev/null; then
  # A wine session draws on the display of the program that began it: the
  # window gets a prefix of its own, whose session begins on the virtual
  # display (once its first-time set-up has ended).
  export WINEPREFIX="$windows/wineprefix-window"
  prepare_wine_prefix
  wineserver --wait
  check "brellun.exe window (Xvfb)" window_self_test
  check "brellun.exe screenshot" window_screenshot
else
  echo "== brellun.exe window: skipped (needs xvfb-run and imagemagick's import)"
fi
exit $status
