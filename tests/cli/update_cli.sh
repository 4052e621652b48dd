#!/usr/bin/env bash
# The update commands of the command-line tool against a real FTP server on 127.0.0.1: messages,
# exit statuses 0 / 10 / 1 / 2, the installed file, Ctrl+C during a download, and a password
# that never shows.
# Usage: update_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
# The English messages and labels these tests compare with.
export LC_ALL=C

pinsum=$1
source_dir=$2
python=${PINSUM_TEST_PYTHON:-/usr/bin/python3}
tmp=$(mktemp -d)
failures=0
servers=()

stop_servers() {
    for pid in "${servers[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$tmp"
}
trap stop_servers EXIT

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# start_server NAME THROTTLE: serves $tmp/NAME-home on a free port, written to $tmp/NAME-port.
start_server() {
    local name=$1 throttle=$2 line="" keep
    mkdir -p "$tmp/$name-home"
    # The server ends when its input closes; this script holds the only writer of that input.
    mkfifo "$tmp/$name-in"
    exec {keep}<>"$tmp/$name-in"
    "$python" "$source_dir/tests/support/ftp_server.py" --home "$tmp/$name-home" --user tester \
        --password 'Top#Secret-42' --throttle "$throttle" \
        <"$tmp/$name-in" >"$tmp/$name-out" 2>&1 {keep}>&- &
    servers+=($!)
    for _ in $(seq 100); do
        line=$(head -n 1 "$tmp/$name-out" 2>/dev/null)
        [[ $line == PORT* ]] && break
        sleep 0.1
    done
    [[ $line == PORT* ]] || { echo "FAIL: the FTP server did not start: $line" >&2; exit 1; }
    echo "ftp://127.0.0.1:${line#PORT }/" >"$tmp/$name-url"
}

# expect STATUS FIRST_LINE COMMAND...: the exit status and the first line printed.
expect() {
    local want=$1 line=$2 status=0
    shift 2
    "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    [[ $status -eq $want ]] || fail "exit $status instead of $want from: $* ($(cat "$tmp/err"))"
    [[ $(head -n 1 "$tmp/out") == "$line" ]] || fail "'$(head -n 1 "$tmp/out")' from: $*"
    ! grep -q 'Top#Secret-42' "$tmp/out" "$tmp/err" || fail "the password shows in: $*"
}

start_server plain 0
export PINSUM_FTP_URL PINSUM_FTP_USER=tester PINSUM_FTP_PASSWORD='Top#Secret-42'
PINSUM_FTP_URL=$(cat "$tmp/plain-url")
home=$tmp/plain-home
data=$tmp/data
mkdir -p "$data" "$tmp/planner"

"$pinsum" catalogue import "$source_dir/data/catalogue.json" "$tmp/new.pp" ||
    fail "cannot build the catalogue"
cp "$tmp/new.pp" "$home/iodb.pp"
touch -d @1700000000 "$home/iodb.pp"
printf 'an old catalogue' >"$data/iodb.pp"
touch -d @1699990000 "$data/iodb.pp"

if "$pinsum" update check --data-dir "$data" 2>&1 | grep -q "unknown command"; then
    echo "FAIL: 'pinsum update' is not registered in main.cpp" >&2
    exit 1
fi

expect 0 "Nalezen aktualizovaný soubor databáze." "$pinsum" update check --data-dir "$data"
expect 0 "Soubor databáze byl úspěšně aktualizován" "$pinsum" update install --data-dir "$data"
cmp -s "$home/iodb.pp" "$data/iodb.pp" || fail "the installed catalogue differs from the server's"
expect 10 "Databáze je aktuální" "$pinsum" update check --data-dir "$data"
expect 10 "Databáze je aktuální" "$pinsum" update install --data-dir "$data"
# Without the separate check the download still compares the dates.
expect 10 "Databáze je aktuální" "$pinsum" update install --data-dir "$data" --skip-check

cp "$tmp/new.pp" "$tmp/planner/Katalog.pp"
expect 0 "Soubor databáze úspěšně uložen" "$pinsum" update upload "$tmp/planner/Katalog.pp"
cmp -s "$tmp/new.pp" "$home/Katalog.pp" || fail "the upload is not under its bare name"

# A catalogue the server cut short is refused; the installed one stays.
cp "$data/iodb.pp" "$tmp/installed.pp"
head -c 300 "$tmp/new.pp" >"$home/iodb.pp"
touch -d @1800000000 "$home/iodb.pp"
expect 1 "Chyba aktualizace" "$pinsum" update install --data-dir "$data" --skip-check
cmp -s "$tmp/installed.pp" "$data/iodb.pp" || fail "a damaged download replaced the catalogue"
grep -q "^pinsum: the file is not a catalogue: " "$tmp/err" || fail "no reason: $(cat "$tmp/err")"
[[ $(ls "$data") == iodb.pp ]] || fail "the rejected download is left: $(ls "$data")"

PINSUM_FTP_PASSWORD=wrong expect 1 "Server je nedostupný" "$pinsum" update check --data-dir "$data"

# Bad arguments and a missing server address.
expect 2 "" "$pinsum" update check --skip-check
expect 2 "" "$pinsum" update install --data-dir "$tmp/missing"
expect 2 "" "$pinsum" update upload "$tmp/missing.pp"
PINSUM_FTP_URL= expect 2 "" "$pinsum" update check --data-dir "$data"
grep -q "pinsum.conf or PINSUM_FTP_URL" "$tmp/err" || fail "no hint at the configuration"

# Configuration that cannot be used is refused before any connection, saying where it was set:
# a line break would send the rest of a password to the server as a command of its own.
PINSUM_FTP_PASSWORD=$'Top#Secret-42\r\nDELE Katalog.pp' \
    expect 2 "" "$pinsum" update check --data-dir "$data"
[[ -e $home/Katalog.pp ]] || fail "a password with a line break deleted a file on the server"
grep -qx "pinsum: PINSUM_FTP_PASSWORD: the password must not hold a line break (CR or LF)" \
    "$tmp/err" || fail "line break in the password: $(cat "$tmp/err")"
for url in "ftp://" "::::" "http://127.0.0.1/" "file:///etc/passwd"; do
    PINSUM_FTP_URL=$url expect 2 "" "$pinsum" update check --data-dir "$data"
    grep -q "^pinsum: PINSUM_FTP_URL: the update server address [a-z]" "$tmp/err" ||
        fail "address '$url': $(cat "$tmp/err")"
done
# pinsum.conf is read beside the program, so a copy of it gets a folder of its own.
mkdir -p "$tmp/program/pinsum.conf"
cp "$pinsum" "$tmp/program/pinsum"
expect 2 "" "$tmp/program/pinsum" update check --data-dir "$data"
grep -qx "pinsum: cannot read the configuration file $tmp/program/pinsum.conf: Is a directory" \
    "$tmp/err" || fail "pinsum.conf as a folder: $(cat "$tmp/err")"

# Ctrl+C during a slow download acts as "Storno"; the partial download goes.
start_server slow 20000
head -c 400000 /dev/urandom >"$tmp/slow-home/iodb.pp"
PINSUM_FTP_URL=$(cat "$tmp/slow-url") "$pinsum" update install --data-dir "$data" --skip-check \
    >"$tmp/out" 2>"$tmp/err" &
client=$!
for _ in $(seq 100); do
    for partial in "$data"/iodb.pp.?*; do
        [[ -s $partial ]] && break 2
    done
    sleep 0.1
done
kill -INT "$client"
status=0
wait "$client" || status=$?
[[ $status -eq 1 ]] || fail "exit $status after Ctrl+C ($(cat "$tmp/err"))"
[[ $(cat "$tmp/out") == "Akce přerušena uživatelem" ]] || fail "'$(cat "$tmp/out")' after Ctrl+C"
cmp -s "$tmp/installed.pp" "$data/iodb.pp" || fail "a cancelled download replaced the catalogue"
[[ $(ls "$data") == iodb.pp ]] || fail "left in the data folder after Ctrl+C: $(ls "$data")"

exit $((failures > 0))
