#!/usr/bin/env bash
# The catalogue commands of the command-line tool: round trips, and one-line errors with exit
# status 2 for bad input.
# Usage: catalogue_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
# The English messages and labels these tests compare with.
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"
sample=$2/data/catalogue.json

# Runs a command that must succeed.
run() {
    "$@" >"$tmp/out" 2>"$tmp/err" || fail "exit $? from: $* ($(cat "$tmp/err"))"
}

# expect_error PATTERN COMMAND...: exit status 2 and one stderr line "pinsum: ..." with PATTERN.
expect_error() {
    local pattern=$1 status=0
    shift
    "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    [[ $status -eq 2 ]] || fail "exit $status instead of 2 from: $*"
    [[ $(wc -l <"$tmp/err") -eq 1 ]] || fail "not one error line from: $*: $(cat "$tmp/err")"
    grep -q "^pinsum: .*$pattern" "$tmp/err" || fail "no '$pattern' in: $(cat "$tmp/err")"
}

# JSON -> catalogue -> JSON -> catalogue -> JSON: both exports are the same bytes.
run "$pinsum" catalogue import "$sample" "$tmp/a.pp"
run "$pinsum" catalogue export "$tmp/a.pp"
cp "$tmp/out" "$tmp/a.json"
run "$pinsum" catalogue import "$tmp/a.json" "$tmp/b.pp"
run "$pinsum" catalogue export "$tmp/b.pp"
cmp -s "$tmp/a.json" "$tmp/out" || fail "export of the re-imported catalogue differs"

# Importing is deterministic, and a resaved file resaves to the same bytes.
run "$pinsum" catalogue import "$sample" "$tmp/a2.pp"
cmp -s "$tmp/a.pp" "$tmp/a2.pp" || fail "two imports of one JSON differ"
run "$pinsum" catalogue resave "$tmp/a.pp" "$tmp/c.pp"
run "$pinsum" catalogue resave "$tmp/c.pp" "$tmp/d.pp"
cmp -s "$tmp/c.pp" "$tmp/d.pp" || fail "resave is not byte-identical"
run "$pinsum" catalogue export "$tmp/d.pp"
cmp -s "$tmp/a.json" "$tmp/out" || fail "export of the resaved catalogue differs"

run "$pinsum" catalogue show "$tmp/a.pp"
grep -q "^Devices (" "$tmp/out" || fail "show prints no device list"

run "$pinsum" --version
[[ $(cat "$tmp/out") == "1, 0, 0, 5" ]] || fail "version is '$(cat "$tmp/out")'"

# Unreadable, damaged and foreign files.
expect_error "missing.pp" "$pinsum" catalogue show "$tmp/missing.pp"
head -c 300 "$tmp/a.pp" >"$tmp/damaged.pp"
expect_error "damaged.pp" "$pinsum" catalogue show "$tmp/damaged.pp"
expect_error "damaged.pp" "$pinsum" catalogue resave "$tmp/damaged.pp" "$tmp/e.pp"
[[ ! -e $tmp/e.pp ]] || fail "resave of a damaged file wrote a file"
expect_error "not a catalogue file" "$pinsum" catalogue export "$sample"
expect_error "not a planner file" "$pinsum" plan show "$tmp/a.pp"

# Damaged files that still load: python3 edits the objects, each a tag (a length byte and the
# text) followed by the kind field, the identity and the rest.
python3 - "$tmp/a.pp" "$tmp" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
def fields(tag, nth):
    at = -1
    for _ in range(nth + 1):
        at = data.index(bytes([len(tag)]) + tag, at + 1)
    return at + 1 + len(tag)
# The second IO kind takes the identity of the first.
dup = bytearray(data)
first, second = fields(b"C_IO", 0), fields(b"C_IO", 1)
dup[second + 4:second + 8] = data[first + 4:first + 8]
open(sys.argv[2] + "/dup.pp", "wb").write(dup)
open(sys.argv[2] + "/dup.id", "w").write(str(struct.unpack("<I", data[first + 4:first + 8])[0]))
# A module whose kind field is not the module code.
kind = bytearray(data)
at = fields(b"C_MODUL_IO", 0)
kind[at:at + 4] = struct.pack("<i", 255)
open(sys.argv[2] + "/kind.pp", "wb").write(kind)
EOF
# A duplicate identity is reported as what happened, not as a question nobody is asked.
run "$pinsum" catalogue show "$tmp/dup.pp"
[[ $(cat "$tmp/err") == "pinsum: warning: duplicate identity $(cat "$tmp/dup.id"); continuing" ]] ||
    fail "duplicate identity: $(cat "$tmp/err")"

# What loads exports, and the export imports to a catalogue that shows the same.
run "$pinsum" catalogue show "$tmp/kind.pp"
cp "$tmp/out" "$tmp/kind-show.txt"
run "$pinsum" catalogue export "$tmp/kind.pp"
cp "$tmp/out" "$tmp/kind.json"
grep -q '"kind": 255' "$tmp/kind.json" || fail "the export lost the stored kind"
run "$pinsum" catalogue import "$tmp/kind.json" "$tmp/kind2.pp"
run "$pinsum" catalogue export "$tmp/kind2.pp"
cmp -s "$tmp/kind.json" "$tmp/out" || fail "the re-imported catalogue exports otherwise"
run "$pinsum" catalogue show "$tmp/kind2.pp"
cmp -s "$tmp/kind-show.txt" "$tmp/out" || fail "the re-imported catalogue shows otherwise"

# A failed write to stdout is exit status 1 with one line; a reader that went away ends the
# program quietly, as SIGPIPE ends other tools, both for a small output that fails at the last
# flush and for a large one that fails on the way.
for command in "--version" "catalogue export $tmp/a.pp"; do
    status=0
    "$pinsum" $command >/dev/full 2>"$tmp/err" || status=$?
    [[ $status -eq 1 && $(wc -l <"$tmp/err") -eq 1 ]] ||
        fail "exit $status writing to a full disk: $command: $(cat "$tmp/err")"
    grep -q "^pinsum: cannot write to standard output" "$tmp/err" || fail "$(cat "$tmp/err")"
    rm -f "$tmp/closed"
    { while [[ ! -e $tmp/closed ]]; do sleep 0.05; done
      "$pinsum" $command 2>"$tmp/err"; echo $? >"$tmp/status"; } |
        { exec 0<&-; touch "$tmp/closed"; }
    [[ $(cat "$tmp/status") -eq 141 && ! -s $tmp/err ]] ||
        fail "exit $(cat "$tmp/status") after the reader went away: $command: $(cat "$tmp/err")"
done

# Bad JSON leaves no output file behind.
printf '{"format": ' >"$tmp/bad.json"
expect_error "bad.json: invalid JSON" "$pinsum" catalogue import "$tmp/bad.json" "$tmp/f.pp"
cat >"$tmp/unknown.json" <<'EOF'
{"format": "pinsum-catalogue", "version": 1,
 "devices": [{"name": "K", "positions": [{"modules": ["X"]}]}]}
EOF
expect_error "unknown.json: devices\[0\].positions\[0\]: unknown module 'X'" \
    "$pinsum" catalogue import "$tmp/unknown.json" "$tmp/f.pp"
[[ -z $(find "$tmp" -name 'f.pp*') ]] || fail "a failed import left a file"

# Bad arguments.
expect_error "no command" "$pinsum"
expect_error "unknown command 'catalogue list'" "$pinsum" catalogue list x
expect_error "usage: pinsum catalogue import" "$pinsum" catalogue import "$sample"
expect_error "unknown option '--fast'" "$pinsum" catalogue show --fast "$tmp/a.pp"

exit $((failures > 0))
