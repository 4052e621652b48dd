#!/usr/bin/env bash
# Catalogue names that hold terminal escapes (a window title set by OSC, a C1 device control)
# reach no terminal raw: the text outputs and the messages show them escaped, while JSON and CSV
# keep them as the data they are. Names the catalogue uses twice stay out of a request template.
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

# Two IO kinds or two series of one name: the template leaves them out with a warning, so that
# solve accepts what it writes.
python3 - "$2/data/catalogue.json" "$tmp/twice.json" <<'EOF'
import json, sys
catalogue = json.load(open(sys.argv[1]))
catalogue["io_kinds"] += [{"name": "Vstup X", "category": "io", "required": False}] * 2
catalogue["series"] += [{"name": "Řada X", "default": True, "exclusive": False}] * 2
json.dump(catalogue, open(sys.argv[2], "w"))
EOF
"$pinsum" catalogue import "$tmp/twice.json" "$tmp/twice.pp" || fail "import of the doubled names"
"$pinsum" request template --catalogue "$tmp/twice.pp" >"$tmp/template.json" 2>"$tmp/err" ||
    fail "request template: $(cat "$tmp/err")"
grep -qF "warning: 'Vstup X' names 2 IO kinds" "$tmp/err" || fail "no warning for two kinds: $(cat "$tmp/err")"
grep -qF "warning: 'Řada X' names 2 series" "$tmp/err" || fail "no warning for two series: $(cat "$tmp/err")"
python3 - "$tmp/template.json" <<'EOF' || fail "the template names a name the catalogue uses twice"
import json, sys
request = json.load(open(sys.argv[1]))
sys.exit("Vstup X" in request["counts"] or "Řada X" in request["series"])
EOF
sed -i 's/"DI 24V DC": 0/"DI 24V DC": 8/' "$tmp/template.json"
"$pinsum" solve --catalogue "$tmp/twice.pp" --request "$tmp/template.json" >/dev/null 2>"$tmp/err" ||
    fail "solve refused the template: $(cat "$tmp/err")"

exit $((failures > 0))
