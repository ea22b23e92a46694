#!/usr/bin/env bash
# Measures, in one run on one machine, what BENCHMARKS.md reports:
#   crc       CRC-32 of a 1 GiB file held in the page cache: CalculateFile
#             against a bare read of the file, ISA-L, zlib and rhash
#   uncached  the same, with the file dropped from the page cache before each
#             timing
#   loops     the CRC-32 loops alone, by buffer size (Google Benchmark)
#   runs      one upload into a release of N files whose other files were all
#             found good before, against a C program that stats the N files;
#             the completing upload of the same release
#   absent    the upload of an SFV listing N files none of which is there
#   acl       a completing upload in a section whose permission file holds N
#             entries
#   permlet   the permission file alone: load and save by size, Chmods into
#             one folder through the control, each alone and in one update
#   limits    a 100,000-line SFV, a permission file of 100,000 entries and a
#             release of 10,000 files, with the peak resident size
# Every timing is a median of interleaved rounds (contenders take turns, so
# load changes hit all alike), as wall time and as CPU time (user+system),
# which the other work on a shared machine disturbs far less.
#
#   bench/run.sh [REPETITIONS] [SECTION ...]      (default 7, every section)
# Run as root (it installs what it needs) on an otherwise quiet machine.
# Environment: BUILD_DIR (default build-bench), WORK_DIR (default a temporary
# folder), SLOW_REPS (rounds of the runs that take seconds each, default 3);
# RUN_SIZES, ABSENT_SIZES, ACL_SIZES (the sizes N of those sections).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
REPS=${1:-7}
shift || true
SECTIONS=${*:-crc uncached loops runs absent acl permlet limits}
SLOW_REPS=${SLOW_REPS:-3}
BUILD_DIR=${BUILD_DIR:-$ROOT/build-bench}
WORK_DIR=${WORK_DIR:-$(mktemp -d)}
mkdir -p "$WORK_DIR"
trap 'rm -rf "$WORK_DIR"' EXIT

"$ROOT/tools/install-deps.sh" bench
cmake -S "$ROOT" -B "$BUILD_DIR" -DCORVANE_BENCH=ON -DCORVANE_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j2 --target crc_bench crc_file make_release stat_files measure \
  permission_bench corvane permlet permreg unzip32 >/dev/null
BIN="$BUILD_DIR/bin"

kernel=$("$BIN/crc_file" kernel)
echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')" \
  "(family $(grep -m1 'cpu family' /proc/cpuinfo | cut -d: -f2 | tr -d ' ')," \
  "model $(grep -m1 '^model' /proc/cpuinfo | cut -d: -f2 | tr -d ' ')), $(nproc) CPUs," \
  "$(free -g | awk '/Mem:/ {print $2}') GiB"
echo "Processor features: $(grep -m1 '^flags' /proc/cpuinfo | tr ' ' '\n' |
  grep -x -E 'pclmulqdq|vpclmulqdq|avx2|avx512f|avx512vl' | paste -sd ' ')"
echo "CRC-32 loop chosen: $kernel; load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"

# ---- Timing ------------------------------------------------------------------
# A table is a list of contenders; each has a command, a preparation that is
# not timed (a dropped page cache, a fresh copy of a release) and its timings.
declare -A CMD PREP WALL CPU PEAK USES STAGED TAKEN
NAMES=()
contender() {  # NAME PREPARATION COMMAND
  NAMES+=("$1")
  PREP[$1]=$2
  CMD[$1]=$3
  WALL[$1]=""
  CPU[$1]=""
  PEAK[$1]=""
}
# A run changes its release, so each timed run starts from a copy of the
# state kept before it. All copies are made before the first timing: ext4
# searches past recently freed inodes on every file it creates, which
# measured more than half of a small run's time right after a copy had been
# deleted. A copy is moved into place by a rename, and set aside after use.
from_state() {  # NAME SAVED SITE COMMAND
  contender "$1" "take_copy $2 $3" "$4"
  USES[$2]=$((${USES[$2]:-0} + 1))
}
take_copy() {  # SAVED SITE
  mkdir -p "$WORK_DIR/used"
  [ ! -e "$2" ] || mv "$2" "$(mktemp -d -p "$WORK_DIR/used")"
  TAKEN[$1]=$((${TAKEN[$1]:-0} + 1))
  mv "$1.${TAKEN[$1]}" "$2"
}
stage_copies() {  # COUNT
  local saved i need made=0
  for saved in "${!USES[@]}"; do
    need=$((${TAKEN[$saved]:-0} + $1 * USES[$saved]))
    for ((i = ${STAGED[$saved]:-0} + 1; i <= need; i++)); do
      cp -a "$saved" "$saved.$i"
      made=1
    done
    STAGED[$saved]=$need
  done
  # Inodes count as recently freed for up to ten seconds.
  [ "$made" = 0 ] || sleep 11
}
median() { tr ' ' '\n' | grep . | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# rounds COUNT: every contender once per round, in turn.
rounds() {
  local name result w c p status
  stage_copies "$1"
  for _ in $(seq "$1"); do
    for name in "${NAMES[@]}"; do
      eval "${PREP[$name]}"
      # shellcheck disable=SC2086
      result=$("$BIN/measure" ${CMD[$name]})
      read -r w c p status <<<"$result"
      [ "$status" = 0 ] || echo "  ($name ended with status $status)" >&2
      WALL[$name]+="$w "
      CPU[$name]+="$c "
      PEAK[$name]+="$p "
    done
  done
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }
# table TITLE BASELINE: the medians, and each as a multiple of the baseline's.
table() {
  local name w c bw bc
  bw=$(median <<<"${WALL[$2]}")
  bc=$(median <<<"${CPU[$2]}")
  echo
  echo "$1 (medians of $(wc -w <<<"${WALL[$2]}") rounds; x = multiple of \"$2\")"
  printf '| %-36s | %9s | %7s | %9s | %7s | %9s |\n' contender "wall s" "x" "cpu s" "x" "peak KiB"
  printf '|%s|%s:|%s:|%s:|%s:|%s:|\n' "$(printf -- '-%.0s' {1..38})" ---------- -------- \
    ---------- -------- ----------
  for name in "${NAMES[@]}"; do
    w=$(median <<<"${WALL[$name]}")
    c=$(median <<<"${CPU[$name]}")
    printf '| %-36s | %9.4f | %7s | %9.4f | %7s | %9s |\n' "$name" "$w" "$(ratio "$w" "$bw")" "$c" \
      "$(ratio "$c" "$bc")" "$(median <<<"${PEAK[$name]}")"
  done
}
# compare A B TEXT: one ratio of two contenders' medians, wall and cpu.
compare() {
  echo "$3: $(ratio "$(median <<<"${WALL[$1]}")" "$(median <<<"${WALL[$2]}")")x wall," \
    "$(ratio "$(median <<<"${CPU[$1]}")" "$(median <<<"${CPU[$2]}")")x cpu"
}
# A new table; what the last one left on disk goes.
reset_table() {
  NAMES=()
  USES=()
  STAGED=()
  TAKEN=()
  rm -rf "$WORK_DIR/used" "$WORK_DIR"/state-* "$WORK_DIR"/site-* "$WORK_DIR"/held-*
}
wants() { [[ " $SECTIONS " == *" $1 "* ]]; }

# ---- CRC of a file -----------------------------------------------------------
# One pass over the file per timing. "bare read" reads it in page-aligned
# 256 KiB blocks and computes nothing, as dd and cat read; dd itself is timed
# beside it to show that the baseline is no slower than the system's own tool.
DATA="$WORK_DIR/data.bin"
crc_table() {  # TITLE PREPARATION ROUNDS
  reset_table
  contender "bare read" "$2" "$BIN/crc_file read $DATA"
  contender "dd bs=256K" "$2" "dd if=$DATA of=/dev/null bs=256K"
  contender "clsCRC::CalculateFile" "$2" "$BIN/crc_file corvane $DATA"
  contender "ISA-L crc32_gzip_refl" "$2" "$BIN/crc_file isal $DATA"
  contender "zlib crc32" "$2" "$BIN/crc_file zlib $DATA"
  contender "rhash --crc32" "$2" "rhash --crc32 $DATA"
  rounds "$3"
  table "$1" "bare read"
  compare "clsCRC::CalculateFile" "ISA-L crc32_gzip_refl" "CalculateFile / ISA-L"
}
if wants crc || wants uncached; then
  head -c 1G /dev/urandom >"$DATA"
  sync "$DATA"
  echo
  echo "CRC-32 of the file: corvane $("$BIN/crc_file" corvane "$DATA")," \
    "ISA-L $("$BIN/crc_file" isal "$DATA"), zlib $("$BIN/crc_file" zlib "$DATA")," \
    "rhash $(rhash --crc32 --simple "$DATA" | awk '{print toupper($1)}')"
fi
if wants crc; then
  cat "$DATA" >/dev/null
  crc_table "CRC-32 of a 1 GiB file in the page cache" ":" "$REPS"
fi
if wants uncached; then
  # iflag=nocache with count=0 asks the system to drop the whole file. One
  # untimed read first: under a virtual machine the host's own cache then
  # serves every round alike.
  dd if="$DATA" iflag=nocache count=0 status=none
  "$BIN/crc_file" read "$DATA" >/dev/null
  crc_table "CRC-32 of a 1 GiB file read from the disk" \
    "dd if=$DATA iflag=nocache count=0 status=none" "$REPS"
fi
rm -f "$DATA"

# ---- The loops alone ---------------------------------------------------------
if wants loops; then
  echo
  echo "CRC loops, median GB/s (by CPU time) of $REPS repetitions in random order:"
  LOOPS=$("$BIN/crc_bench" --benchmark_filter='^Kernel/.*/(16384|262144|1048576)$' \
    --benchmark_repetitions="$REPS" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null | tr -d '"' |
    awk -F, -v reps="$REPS" '$1 ~ /^Kernel\// && (reps == 1 || $1 ~ /_median$/) {
      split($1, n, "/"); sub(/_median/, "", n[3])
      printf "  %-10s %8s bytes %7.1f GB/s\n", n[2], n[3], $6 / 1e9 }')
  echo "$LOOPS"
  for size in 262144 1048576; do
    echo "  $kernel / isal at $size bytes: $(awk -v k="$kernel" -v s="$size" \
      '$2 == s && $1 == k {a = $4} $2 == s && $1 == "isal" {b = $4} END {printf "%.2f", a / b}' \
      <<<"$LOOPS")x"
  done
fi

# ---- Whole checker runs ------------------------------------------------------
# A program folder with the shipped corvane.ini and the control registered; a
# second one that makes no permission change (ISSERVG6) for the runs whose
# permission changes main still makes one file rewrite each.
PROGRAMS="$WORK_DIR/programs"
mkdir -p "$PROGRAMS"
for program in corvane permlet.ocx permreg unzip32.so; do cp "$BIN/$program" "$PROGRAMS/"; done
cp "$ROOT/corvane.ini" "$PROGRAMS/"
(cd "$PROGRAMS" && ./permreg /s "$PROGRAMS/permlet.ocx")
NOPERM="$WORK_DIR/programs-no-permissions"
cp -a "$PROGRAMS" "$NOPERM"
sed -i 's/^ISSERVG6=False/ISSERVG6=True/' "$NOPERM/corvane.ini"

# A release of COUNT files of 4 KiB, listed in its SFV: every file but the
# last two is there and found good by the SFV's upload; then the
# next-to-last arrives (the mid upload) and at last the last one (the
# completing upload). The states before both uploads are kept, the arriving
# file already in place; the timed runs start from copies of them.
upload() { "$1/corvane" "$2" 00000000 -u:bench -w:grp >/dev/null; }
listed() { printf 'rel.%05d' "$1"; }
make_site() {  # NAME COUNT PROGRAMS
  local site=$WORK_DIR/site-$1 held=$WORK_DIR/held-$1
  mkdir -p "$site/section/Rel" "$held"
  "$BIN/make_release" files "$site/section/Rel" "$2" $(($2 - 2)) 4096 "$held"
  upload "$3" "$site/section/Rel/rel.sfv"
  mv "$held/$(listed $(($2 - 2)))" "$site/section/Rel/"
  cp -a "$site" "$WORK_DIR/state-mid-$1"
  upload "$3" "$site/section/Rel/$(listed $(($2 - 2)))"
  mv "$held/$(listed $(($2 - 1)))" "$site/section/Rel/"
  cp -a "$site" "$WORK_DIR/state-last-$1"
}
# The contender for the upload of file I of site NAME from state STATE.
upload_from() {  # LABEL NAME STATE I PROGRAMS
  from_state "$1" "$WORK_DIR/state-$3-$2" "$WORK_DIR/site-$2" \
    "$5/corvane $WORK_DIR/site-$2/section/Rel/$(listed "$4") 00000000 -u:bench -w:grp"
}

if wants runs; then
  for n in ${RUN_SIZES:-1000 5000}; do
    reset_table
    make_site "r$n" "$n" "$PROGRAMS"
    rel=$WORK_DIR/site-r$n/section/Rel
    contender "/bin/true" ":" "/bin/true"
    contender "stat_files, $n files" ":" "$BIN/stat_files $rel $rel/rel.sfv"
    upload_from "mid upload, $n files" "r$n" mid $((n - 2)) "$PROGRAMS"
    upload_from "mid upload, $n files, no permissions" "r$n" mid $((n - 2)) "$NOPERM"
    upload_from "completing upload, $n files" "r$n" last $((n - 1)) "$PROGRAMS"
    rounds "$([ "$n" -le 1000 ] && echo "$REPS" || echo "$SLOW_REPS")"
    table "One upload into a release of $n files, shipped corvane.ini" "stat_files, $n files"
    compare "mid upload, $n files" "stat_files, $n files" "mid upload / stat_files ($n)"
    compare "completing upload, $n files" "mid upload, $n files" "completing / mid upload ($n)"
  done
  # What one mid upload asks of the system, per listed file.
  n=1000
  reset_table
  make_site calls "$n" "$PROGRAMS"
  rm -rf "$WORK_DIR/site-calls" && cp -a "$WORK_DIR/state-mid-calls" "$WORK_DIR/site-calls"
  echo
  echo "System calls of one mid upload into $n files (strace -c), per listed file:"
  strace -f -c -o "$WORK_DIR/calls" "$PROGRAMS/corvane" \
    "$WORK_DIR/site-calls/section/Rel/$(listed $((n - 2)))" 00000000 -u:bench -w:grp
  awk -v n="$n" '$NF ~ /^[a-z_0-9]+$/ && $4 ~ /^[0-9]+$/ && $4 >= n / 10 {
    printf "  %-12s %7d calls, %.2f per file\n", $NF, $4, $4 / n }' "$WORK_DIR/calls"
fi

# An SFV upload into a release where none of its N files has arrived: one
# marker and one permission change per file.
sfv_upload() {  # LABEL NAME COUNT PROGRAMS
  mkdir -p "$WORK_DIR/state-$2/section/Rel"
  "$BIN/make_release" absent "$WORK_DIR/state-$2/section/Rel" "$3"
  from_state "$1" "$WORK_DIR/state-$2" "$WORK_DIR/site-$2" \
    "$4/corvane $WORK_DIR/site-$2/section/Rel/rel.sfv 00000000 -u:bench -w:grp"
}
if wants absent; then
  reset_table
  for n in ${ABSENT_SIZES:-500 1000 2000 4000}; do
    sfv_upload "SFV of $n absent files" "a$n" "$n" "$PROGRAMS"
  done
  rounds "$SLOW_REPS"
  table "SFV upload listing N absent files, shipped corvane.ini" "${NAMES[0]}"
fi

# The completing upload of a release of 20 files in a section whose
# permission file holds N entries (one per release completed there before).
section_file() {  # LABEL NAME COUNT
  make_site "$2" 20 "$PROGRAMS"
  "$BIN/make_release" acl "$WORK_DIR/state-last-$2/section" "$3"
  upload_from "$1" "$2" last 19 "$PROGRAMS"
}
if wants acl; then
  reset_table
  for n in ${ACL_SIZES:-10000 20000 40000 80000}; do
    section_file "section file of $n entries" "s$n" "$n"
  done
  rounds "$SLOW_REPS"
  table "Completing upload of 20 files, section permission file of N entries" "${NAMES[0]}"
fi

# The permission file alone: the time per entry stays flat when load and save
# are linear in the size; n Chmods alone against n in one update.
if wants permlet; then
  echo
  echo "Permission file, median of $REPS repetitions (wall ms, and per entry or change):"
  "$BIN/permission_bench" --benchmark_repetitions="$REPS" \
    --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true \
    --benchmark_format=csv 2>/dev/null | tr -d '"' |
    awk -F, '$1 ~ /_median$/ { sub(/_median/, "", $1)
      if (match($1, /n:[0-9]+/)) items = substr($1, RSTART + 2, RLENGTH - 2)
      else if (match($1, /\/[0-9]+/)) items = substr($1, RSTART + 1, RLENGTH - 1)
      printf "  %-28s %10.2f ms %8.2f us per item\n", $1, $3, $3 * 1000 / items }'
fi

# The limits: each input at a quarter, half and the whole of its size, so
# that times and peak sizes show whether they grow linearly. The SFV's markers
# are made without permission changes, which main still makes one permission
# file rewrite each.
if wants limits; then
  reset_table
  for n in 25000 50000 100000; do
    sfv_upload "SFV of $n lines, no permissions" "l$n" "$n" "$NOPERM"
  done
  for n in 25000 50000 100000; do
    section_file "permission file of $n entries" "p$n" "$n"
  done
  for n in 2500 5000 10000; do
    make_site "f$n" "$n" "$PROGRAMS"
    upload_from "mid upload, release of $n files" "f$n" mid $((n - 2)) "$PROGRAMS"
  done
  rounds "$SLOW_REPS"
  table "Limits, at a quarter, half and all of each size" "${NAMES[0]}"
fi
reset_table
echo
echo "Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
