#!/usr/bin/env bash
# Catalogue names that hold terminal escapes (a window title set by OSC, a C1 device control)
# reach no terminal raw: the text outputs and the messages show them escaped, while JSON and CSV
# keep them as the data they are.
# Usage: hostile_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"

# Every device of the sample is renamed with an OSC title sequence, every module marking gets a
# C1 DCS (U+0090, a byte Windows-1250 leaves undefined).
python3 - "$2/data/catalogue.json" "$tmp/hostile.json" <<'EOF'
import json, sys
catalogue = json.load(open(sys.argv[1]))
for device in catalogue["devices"]:
    device["name"] = "\x1b]0;owned\x07" + device["name"]
for module in catalogue["modules"]:
    module["marking"] = "\x90" + module["marking"]
json.dump(catalogue, open(sys.argv[2], "w"))
EOF
"$pinsum" catalogue import "$tmp/hostile.json" "$tmp/hostile.pp" || fail "import of the hostile catalogue"

# raw FILE: whether the file holds an ESC, a BEL or a C1 control (UTF-8 C2 80 to C2 9F).
raw() {
    LC_ALL=C grep -qP '\x1b|\x07|\xc2[\x80-\x9f]' "$1"
}
shown() {
    local what=$1 file=$2
    raw "$file" && fail "$what passes a control character raw"
    grep -qF '\x1b]0;owned\x07' "$file" || fail "$what does not show the escaped name"
}

"$pinsum" solve --catalogue "$tmp/hostile.pp" --request "$request" --save "$tmp/plan.ppl" \
    >"$tmp/solve.txt" 2>&1 || fail "solve on the hostile catalogue"
shown "solve" "$tmp/solve.txt"
grep -qF '\u0090-DX16' "$tmp/solve.txt" || fail "solve does not show the C1 control escaped"
"$pinsum" catalogue show "$tmp/hostile.pp" >"$tmp/show.txt" 2>&1 || fail "catalogue show"
shown "catalogue show" "$tmp/show.txt"
"$pinsum" plan show "$tmp/plan.ppl" >"$tmp/plan.txt" 2>&1 || fail "plan show"
shown "plan show" "$tmp/plan.txt"

# A message quoting a file name that holds an escape.
"$pinsum" catalogue show "$tmp/"$'\e]0;owned\a'.pp >/dev/null 2>"$tmp/error.txt" &&
    fail "a missing catalogue was read"
shown "the error message" "$tmp/error.txt"

# The machine-readable outputs keep the names as they are.
"$pinsum" catalogue export "$tmp/hostile.pp" >"$tmp/export.json" || fail "export"
python3 - "$tmp/hostile.json" "$tmp/export.json" <<'EOF' || fail "JSON export changed the names"
import json, sys
names = lambda path: [d["name"] for d in json.load(open(path))["devices"]]
sys.exit(names(sys.argv[1]) != names(sys.argv[2]))
EOF
"$pinsum" solve --catalogue "$tmp/hostile.pp" --request "$request" --format csv >"$tmp/bill.csv" \
    2>/dev/null || fail "CSV"
grep -qF $'\e]0;owned\a' "$tmp/bill.csv" || fail "CSV does not keep the name as data"

exit $((failures > 0))
