#!/usr/bin/env bash
# install-deps.sh [SET ...]
# Installs the Debian packages of each set given (default: tests), only those
# missing, without their recommendations, so every package a build uses is
# named here:
#   headless  building the programs without brellun's window (no FLTK, no X11)
#   programs  building the programs (FLTK's CMake files need fluid and the
#             OpenGL headers, which libfltk1.3-dev only recommends)
#   tests     the programs, their tests and the libFuzzer targets (clang)
#   packages  the .deb package (dpkg-shlibdeps and file find its dependencies;
#             readelf reads the programs' library search path)
#   windows   the mingw-w64 cross build (widl, windres, zlib; libwine holds the
#             stdole2.tlb that the type library imports)
#   wine      running the Windows build's tests: wine, its fonts (marlett.ttf
#             draws the caption buttons), a virtual display and imagemagick's
#             import for the window's tests and screenshot
#   bench     the benchmarks and the tools they are measured against
#   mutants   the mutation check's scratch copy and its shared build cache
#   ftp       the end-to-end test through a real FTP server (the server, its
#             upload script, the client, pgrep)
set -euo pipefail
headless=(cmake make g++ zlib1g-dev)
programs=("${headless[@]}" libfltk1.3-dev fluid libgl-dev)
tests=("${programs[@]}" libgtest-dev pkg-config libzip-dev xvfb xauth clang libclang-rt-dev)
packages=(dpkg-dev file binutils)
windows=(cmake make g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64 libz-mingw-w64-dev
         libwine)
wine=(wine wine64 fonts-wine xvfb xauth imagemagick)
bench=("${programs[@]}" pkg-config libbenchmark-dev libisal-dev rhash strace)
mutants=(rsync ccache)
ftp=(pure-ftpd curl procps)

wanted=()
for set in "${@:-tests}"; do
  case "$set" in
    headless) wanted+=("${headless[@]}") ;;
    programs) wanted+=("${programs[@]}") ;;
    tests) wanted+=("${tests[@]}") ;;
    packages) wanted+=("${packages[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    wine) wanted+=("${wine[@]}") ;;
    bench) wanted+=("${bench[@]}") ;;
    mutants) wanted+=("${mutants[@]}") ;;
    ftp) wanted+=("${ftp[@]}") ;;
    *) echo "install-deps.sh: no set named $set" >&2; exit 2 ;;
  esac
done
missing=()
declare -A named
for p in "${wanted[@]}"; do
  [ -z "${named[$p]:-}" ] || continue  # a package of several sets
  named[$p]=1
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # apt's notes and warnings are shown only when it fails.
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  { apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
    >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
fi
