#!/usr/bin/env bash
# pure_ftpd_e2e.sh BIN_DIR SHIPPED_INI: the whole road of uploads through a
# real FTP server. pure-ftpd on 127.0.0.1 with a virtual user, pure-uploadscript
# starting the hook corvane-pure-ftpd under the account that owns the uploads,
# the shipped corvane.ini; curl uploads a release (the SFV, files, one damaged
# and then again good, one never) and the release is checked on disk.
set -euo pipefail
bin=$(readlink -f "${1:?BIN_DIR}")
shipped_ini=$(readlink -f "${2:?SHIPPED_INI}")

if [ "$(id -u)" != 0 ]; then
  echo "SKIP pure-ftpd end to end: needs root (pure-ftpd's upload pipe is root's)"
  exit 0
fi
# The upload pipe is the one of the whole machine: one such test at a time,
# and none while another pure-uploadscript reads it.
exec 9>"${TMPDIR:-/tmp}/corvane-pure-ftpd-test.lock"
flock -w 900 9
if pgrep -f "(^|/)pure-uploadscript( |$)" >/dev/null; then
  echo "SKIP pure-ftpd end to end: another pure-uploadscript reads /var/run/pure-ftpd.upload.pipe"
  exit 0
fi

# The uploads belong to nobody:nogroup, the account the hook runs under too.
owner_uid=$(id -u nobody)
owner_gid=$(getent group nogroup | cut -d: -f3)
# pure-uploadscript enters "/" under that account before it starts the hook;
# a root folder closed to other accounts (a chroot made by mktemp) stops it.
if ! setpriv --reuid="$owner_uid" --regid="$owner_gid" --clear-groups test -x / 2>/dev/null; then
  echo "SKIP pure-ftpd end to end: nobody cannot enter / (mode $(stat -c %a /))"
  exit 0
fi

tmp=$(mktemp -d)
chmod 755 "$tmp"
ftpd_pid=
script_pid=
# Stops a server this test started: asked first, then forced.
stop_server() {
  [ -n "$1" ] || return 0
  kill "$1" 2>/dev/null || return 0
  for ((i = 0; i < 50; i++)); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
stop() {
  stop_server "$script_pid"
  stop_server "$ftpd_pid"
  rm -rf "$tmp"
}
trap stop EXIT

fail() {
  echo "FAIL pure-ftpd end to end: $*"
  (cd "$tmp/ftp" && find . | sort)
  [ -f "$tmp/ftp/Rel/errorlog.txt" ] && cat "$tmp/ftp/Rel/errorlog.txt"
  exit 1
}

# A port with nine free ones after it for passive transfers.
port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
port=
for ((candidate = 21000 + RANDOM % 20000, tries = 0; tries < 50; candidate += 10, tries++)); do
  all_free=1
  for ((p = candidate; p < candidate + 10; p++)); do port_free "$p" || { all_free=; break; }; done
  if [ -n "$all_free" ]; then port=$candidate; break; fi
done
[ -n "$port" ] || fail "no free port"

# The program folder as cmake --install makes it, with the shipped settings.
# pure-ftpd has no permission file of RaidenFTPd's to edit.
mkdir "$tmp/programs"
cp -a "$bin/." "$tmp/programs/"
{ cat "$shipped_ini"; printf 'ISSERVG6=True\r\n'; } >"$tmp/programs/corvane.ini"

# The site: one virtual user whose uploads belong to nobody:nogroup.
mkdir "$tmp/ftp"
chown "$owner_uid:$owner_gid" "$tmp/ftp"
printf 'secret\nsecret\n' |
  pure-pw useradd uploader -u "$owner_uid" -g "$owner_gid" -d "$tmp/ftp" -f "$tmp/passwd" >/dev/null
pure-pw mkdb "$tmp/users.pdb" -f "$tmp/passwd"

# Each server in a session of its own: pure-ftpd ends its whole process group
# when it is stopped.
setsid pure-ftpd -S "127.0.0.1,$port" -p "$((port + 1)):$((port + 9))" -l "puredb:$tmp/users.pdb" \
  -E -H -A -o -u 1 -g "$tmp/pure-ftpd.pid" >"$tmp/pure-ftpd.log" 2>&1 &
ftpd_pid=$!
for ((i = 0; i < 100; i++)); do
  [ -p /var/run/pure-ftpd.upload.pipe ] && ! port_free "$port" && break
  kill -0 "$ftpd_pid" 2>/dev/null || { cat "$tmp/pure-ftpd.log"; fail "pure-ftpd did not start"; }
  sleep 0.1
done
setsid pure-uploadscript -r "$tmp/programs/corvane-pure-ftpd" -u "$owner_uid" -g "$owner_gid" &
script_pid=$!

upload() {  # upload NAME CONTENT
  printf '%s' "$2" >"$tmp/$1"
  curl -sS --ftp-create-dirs -T "$tmp/$1" --user uploader:secret \
    "ftp://127.0.0.1:$port/Rel/$1" || fail "curl could not upload $1"
}
in_progress() {
  compgen -G "$tmp/ftp/Rel/SFV CHECK IN PROGRESS*" >/dev/null ||
    compgen -G "$tmp/ftp/*Currently being SFV checked*" >/dev/null
}
# Waits until the hook's run for the last upload has ended: the release
# shows `count` of 4 files good and no check is in progress.
wait_for() {  # wait_for COUNT [FILE that must exist]
  for ((i = 0; i < 300; i++)); do
    if compgen -G "$tmp/ftp/Rel/* $1 of 4 files *" >/dev/null && ! in_progress &&
      { [ -z "${2:-}" ] || [ -e "$tmp/ftp/Rel/$2" ]; }; then
      return 0
    fi
    sleep 0.1
  done
  fail "no run showed $1 of 4 files ${2:+with $2}"
}
expect() {  # expect DESCRIPTION COMMAND...
  local what=$1
  shift
  "$@" || fail "$what"
}

crc() { gzip -c <"$tmp/$1" | tail -c 8 | od -An -tx4 -N4 | tr -d ' \n' | tr a-f A-F; }
for f in rel.r00 rel.r01 rel.r02 rel.r03; do printf 'contents of %s\n' "$f" >"$tmp/$f"; done
{ for f in rel.r00 rel.r01 rel.r02 rel.r03; do printf '%s %s\r\n' "$f" "$(crc "$f")"; done; } \
  >"$tmp/sfv"

upload rel.sfv "$(cat "$tmp/sfv")"
wait_for 0 rel.r03.missing
upload rel.r00 "contents of rel.r00
"
wait_for 1
upload rel.r01 "damaged in transfer"
wait_for 1 rel.r01.bad
expect "the damaged upload was not set aside" \
  test "$(cat "$tmp/ftp/Rel/rel.r01.bad")" = "damaged in transfer"
upload rel.r01 "contents of rel.r01
"
wait_for 2
upload rel.r02 "contents of rel.r02
"
wait_for 3

rel=$tmp/ftp/Rel
expect "the header is not the shipped one" \
  test -d "$rel/[CORVANE] - 3 of 4 files [########--] 75% - [CORVANE]"
expect "rel.r03 has no marker" test -f "$rel/rel.r03.missing"
for gone in rel.r00.missing rel.r01.missing rel.r01.bad rel.r02.missing; do
  expect "$gone is still there" test ! -e "$rel/$gone"
done
expect "the parent entry is missing" test -d "$tmp/ftp/(incomplete)-Rel"
expect "the message file does not list rel.r03 missing" grep -q "MISSING : rel.r03" "$rel/.message"
expect "the message file does not count the release" \
  grep -q "3 of 4 files good, 1 missing, 0 bad" "$rel/.message"
mapfile -t store < <(tr -d '\r' <"$rel/.sfvStatus")
expect "the store's status is ${store[0]}" test "${store[0]}" = 1110
expect "the store's uploader is ${store[1]}" test "${store[1]}" = uploader
expect "the store's user record is ${store[9]:-none}" \
  test "${store[9]:-}" = "1|uploader|nogroup|0.06|0|3"
expect "the hook's runs own what they made" \
  test "$(stat -c %u "$rel/.sfvStatus")" = "$owner_uid"
echo "pure-ftpd end to end: 1 passed, 0 failed"
