#!/usr/bin/env bash
# Times the CRC-32 of a cached 1 GiB file through CalculateFile against only
# reading it and against other tools, one whole corvane run against starting
# /bin/true, and the permission file by size and by update; prints medians and
# ratios. Run as root on an idle-ish
# machine:  bench/run.sh [repetitions]      (default 7)
# Environment: BUILD_DIR (default build-bench), WORK_DIR (default a temp
# folder), CORVANE_BIN (default build/bin: the folder holding corvane).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
REPS=${1:-7}
BUILD_DIR=${BUILD_DIR:-$ROOT/build-bench}
CORVANE_BIN=${CORVANE_BIN:-$ROOT/build/bin}
WORK_DIR=${WORK_DIR:-$(mktemp -d)}
mkdir -p "$WORK_DIR"
trap 'rm -rf "$WORK_DIR"' EXIT

export DEBIAN_FRONTEND=noninteractive
PACKAGES=(cksfv rhash libisal-dev zlib1g-dev libbenchmark-dev)
apt-get install -y -qq "${PACKAGES[@]}" >/dev/null || { apt-get update -qq && apt-get install -y -qq "${PACKAGES[@]}" >/dev/null; }

cmake -S "$ROOT" -B "$BUILD_DIR" -DCORVANE_BENCH=ON -DCORVANE_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" --target crc_bench crc_file permission_bench -j2 >/dev/null
CRC_FILE="$BUILD_DIR/bin/crc_file"
CRC_BENCH="$BUILD_DIR/bin/crc_bench"

DATA="$WORK_DIR/data.bin"
head -c 1G /dev/urandom >"$DATA"
cat "$DATA" >/dev/null  # into the page cache

# ---- Timing ------------------------------------------------------------------
declare -A WALL CPU
TIMEFORMAT='%R %U %S'
# Runs one command once; appends its wall and CPU (user+system) seconds.
time_once() {
  local name=$1
  shift
  local t
  t=$({ time "$@" >/dev/null 2>&1; } 2>&1 | tail -1)
  WALL[$name]+="$(awk -v d="${DIV[$name]}" '{print $1 / d}' <<<"$t") "
  CPU[$name]+="$(awk -v d="${DIV[$name]}" '{print ($2 + $3) / d}' <<<"$t") "
}
median() { tr ' ' '\n' | grep . | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

# The crc_file contenders read the file PASSES times per timing (a single pass
# is short enough for the machine's noise to swamp the differences); their
# times are per pass. cksfv and rhash read it once.
PASSES=5
NAMES=()
declare -A CMD LABEL DIV
# contender NAME LABEL COMMAND [PASSES]: one line of the table.
contender() {
  NAMES+=("$1")
  LABEL[$1]=$2
  CMD[$1]=$3
  DIV[$1]=${4:-1}
}
contender read "read only (baseline)" "$CRC_FILE read $DATA $PASSES" "$PASSES"
contender corvane "clsCRC::CalculateFile" "$CRC_FILE corvane $DATA $PASSES" "$PASSES"
contender isal "ISA-L crc32_gzip_refl" "$CRC_FILE isal $DATA $PASSES" "$PASSES"
contender zlib "zlib crc32" "$CRC_FILE zlib $DATA $PASSES" "$PASSES"
contender cksfv "cksfv" "cksfv $DATA"
contender rhash "rhash --crc32" "rhash --crc32 $DATA"
crc_of() { rhash --crc32 --simple "$1" | awk '{print toupper($1)}'; }
echo "CRC-32 of the file: corvane $($CRC_FILE corvane "$DATA"), isal $($CRC_FILE isal "$DATA")," \
  "zlib $($CRC_FILE zlib "$DATA"), rhash $(crc_of "$DATA")"

# ---- A whole corvane run -----------------------------------------------------
# A release of 201 files listed in its SFV, 200 of them uploaded and found good
# by earlier runs; the timed run is the upload of the last one, each time from a
# fresh copy of that state.
CORVANE_READY=0
if [ -x "$CORVANE_BIN/corvane" ]; then
  PROGRAMS="$WORK_DIR/programs"
  SITE="$WORK_DIR/site"
  mkdir -p "$PROGRAMS" "$SITE/section/Rel"
  cp -a "$CORVANE_BIN"/. "$PROGRAMS"/
  printf '%s\r\n' "[Checker]" "ON_ERR_MK_FILE=1" "ISSERVG6=True" "MK_FOLDER_HEADER=1" \
    "MK_FO_HEADER_PARENT=True" "CREATE_MISSING=True" "HANDLE_BAD_FILES=1" "MSGFILE=.message" \
    "MSGLINE=%g of %t files good" "BADMSG=[%g of %t] incomplete" "GOODMSG=[%t files] complete" \
    "MK_PARENT=1" "INC_MAKE_IN_PARENT=(incomplete) %r" "COM_MAKE_IN_PARENT=(complete) %r" \
    >"$PROGRAMS/corvane.ini"
  REL="$SITE/section/Rel"
  mkdir -p "$WORK_DIR/files"
  for i in $(seq -w 0 200); do head -c 1M /dev/urandom >"$WORK_DIR/files/rel.r$i"; done
  (cd "$WORK_DIR/files" && rhash --crc32 --simple rel.r* | awk '{print $2 " " toupper($1) "\r"}') \
    >"$WORK_DIR/rel.sfv"
  upload() { "$PROGRAMS/corvane" "$1" "$(crc_of "$1")" -u:bench; }
  cp "$WORK_DIR/rel.sfv" "$REL/rel.sfv"
  upload "$REL/rel.sfv"
  for i in $(seq -w 0 199); do
    cp "$WORK_DIR/files/rel.r$i" "$REL/"
    upload "$REL/rel.r$i"
  done
  cp "$WORK_DIR/files/rel.r200" "$REL/"
  LAST_CRC=$(crc_of "$REL/rel.r200")
  cp -a "$SITE" "$WORK_DIR/site.good"
  # Runs from the state of 200 good files; the copy is not timed.
  fresh_site() { rm -rf "$SITE" && cp -a "$WORK_DIR/site.good" "$SITE"; }
  contender true "/bin/true" /bin/true
  contender corvane_run "corvane run, 1 new file of 201" \
    "$PROGRAMS/corvane $REL/rel.r200 $LAST_CRC -u:bench"
  CORVANE_READY=1
else
  echo "($CORVANE_BIN/corvane not built: the whole-run line is left out)"
fi

# Rounds interleave the contenders so that load changes hit all alike.
for _ in $(seq "$REPS"); do
  for name in "${NAMES[@]}"; do
    [ "$name" = corvane_run ] && fresh_site
    # shellcheck disable=SC2086
    time_once "$name" ${CMD[$name]}
  done
done
if [ "$CORVANE_READY" = 1 ]; then
  fresh_site
  # shellcheck disable=SC2086
  ${CMD[corvane_run]} && echo "Section folder after the run: $(ls "$SITE/section" | paste -sd '|')"
fi

# ---- The loops alone -----------------------------------------------------------
# Buffers of 16 KiB (L1), 256 KiB and 1 MiB (L2); GB/s by CPU time. The
# repetitions of all loops run in random order, so load changes hit all alike.
echo
echo "CRC loops, median GB/s of $REPS repetitions:"
LOOPS=$("$CRC_BENCH" --benchmark_filter='^Kernel/.*/(16384|262144|1048576)$' \
  --benchmark_repetitions="$REPS" --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null | tr -d '"' |
  awk -F, -v reps="$REPS" '$1 ~ /^Kernel\// && (reps == 1 || $1 ~ /_median$/) {
    split($1, n, "/"); sub(/_median/, "", n[3])
    printf "  %-8s %8s bytes %7.1f GB/s\n", n[2], n[3], $6 / 1e9 }')
echo "$LOOPS"
KERNEL=$("$CRC_FILE" kernel)
for size in 262144 1048576; do
  echo "  $KERNEL / isal at $size bytes: $(awk -v k="$KERNEL" -v s="$size" \
    '$2 == s && $1 == k {a = $4} $2 == s && $1 == "isal" {b = $4} END {printf "%.2f", a / b}' \
    <<<"$LOOPS")x"
done

# ---- Table -------------------------------------------------------------------
echo
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) CPUs," \
  "$(free -g | awk '/Mem:/ {print $2}') GiB; CRC-32 loop: $KERNEL"
echo "Medians of $REPS runs; wall = elapsed, cpu = user+system; crc_file lines per pass ($PASSES a run)."
base_wall=$(median <<<"${WALL[read]}")
base_cpu=$(median <<<"${CPU[read]}")
printf '%-34s %10s %8s %10s %8s\n' "" "wall s" "x read" "cpu s" "x read"
for name in "${NAMES[@]}"; do
  w=$(median <<<"${WALL[$name]}")
  c=$(median <<<"${CPU[$name]}")
  printf '%-34s %10.3f %8.2f %10.3f %8.2f\n' "${LABEL[$name]}" "$w" \
    "$(awk -v a="$w" -v b="$base_wall" 'BEGIN {print a / b}')" "$c" \
    "$(awk -v a="$c" -v b="$base_cpu" 'BEGIN {print (b > 0 ? a / b : 0)}')"
done
echo "CalculateFile / ISA-L program (wall): $(awk -v a="$(median <<<"${WALL[corvane]}")" \
  -v b="$(median <<<"${WALL[isal]}")" 'BEGIN {printf "%.2f", a / b}')x"
if [ "$CORVANE_READY" = 1 ]; then
  t=$(median <<<"${WALL[true]}")
  r=$(median <<<"${WALL[corvane_run]}")
  echo "corvane run / /bin/true (wall): $(awk -v a="$r" -v b="$t" 'BEGIN {printf "%.1f", a / b}')x"
fi

# ---- The permission file ---------------------------------------------------------
# Load and save of a file of N entries (time per entry flat: linear in the
# size), and n Chmods into one folder through the control, alone and in one
# update; medians of the repetitions, in random order.
echo
echo "Permission file, median of $REPS repetitions (wall ms, and per entry or change):"
"$BUILD_DIR/bin/permission_bench" --benchmark_repetitions="$REPS" \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null | tr -d '"' |
  awk -F, '$1 ~ /_median$/ { sub(/_median/, "", $1)
    if (match($1, /n:[0-9]+/)) items = substr($1, RSTART + 2, RLENGTH - 2)
    else if (match($1, /\/[0-9]+/)) items = substr($1, RSTART + 1, RLENGTH - 1)
    printf "  %-28s %10.2f ms %8.2f us per item\n", $1, $3, $3 * 1000 / items }'
