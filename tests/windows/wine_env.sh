# Sourced by the wine test scripts with $windows set to the Windows build:
# the wine prefix of that build, the harness told to start its .exe files,
# and the prefix made once (wine's first start is slow).
export WINEPREFIX="$windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export CORVANE_E2E_TARGET=wine CORVANE_E2E_BIN="$windows/bin"
unset DISPLAY WAYLAND_DISPLAY
# Without marlett.ttf wine draws the caption buttons of windows as the letters
# "0 1 r". fonts-wine brings it; this wine finds it in the prefix's own Fonts
# folder only.
"$(dirname "${BASH_SOURCE[0]}")/../../tools/install-deps.sh" fonts-wine
# Makes the prefix $WINEPREFIX once. wine's background services keep the
# standard handles of the program that started them: they get none, so that
# no pipe of the caller stays open.
prepare_wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] || wineboot --init </dev/null >/dev/null 2>&1
  ln -sf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}
prepare_wine_prefix
# Windows lists names that begin with a dot like any other; wine hides them
# unless told otherwise.
wine reg add 'HKCU\Software\Wine' /v ShowDotFiles /d Y /f </dev/null >/dev/null 2>&1
