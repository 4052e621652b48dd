#!/usr/bin/env bash
# The request template and the JSON and CSV outputs of solve and plan show on the sample catalogue:
# a template solves once numbers are filled in, the JSON says what the text report says in its
# documented form, and the bill reads back with Python's csv module with totals equal to the prices.
# Usage: formats_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"
check="python3 $2/tests/cli/check_formats.py"

# run NAME ARGUMENTS...: pinsum with ARGUMENTS, stdout to $tmp/NAME; leaves the exit status in $status.
run() {
    local name=$1
    shift
    status=0
    "$pinsum" "$@" >"$tmp/$name" 2>"$tmp/$name.err" || status=$?
}

# The template as written is a valid request (all counts 0: refused, not bad input); with numbers
# filled in it solves.
run template request template --catalogue "$catalogue"
[[ $status -eq 0 ]] || fail "request template: exit $status: $(cat "$tmp/template.err")"
run empty solve --catalogue "$catalogue" --request "$tmp/template"
[[ $status -eq 1 ]] || fail "the untouched template: exit $status: $(cat "$tmp/empty.err")"
python3 -c '
import json, sys
r = json.load(open(sys.argv[1]))
assert r["level"] == 0 and set(r["counts"].values()) == {0} and "Displej 4x20" in r["counts"], r
assert r["series"] == ["Řada TX"] and r["terminals_enabled"] == [], r
r["counts"]["DI 24V DC"] = 20
json.dump(r, open(sys.argv[2], "w"), ensure_ascii=False)' "$tmp/template" "$tmp/filled.json" ||
    fail "template is not as expected"
run filled solve --catalogue "$catalogue" --request "$tmp/filled.json"
[[ $status -eq 0 ]] || fail "the filled template: exit $status: $(cat "$tmp/filled.err")"
grep -q '^Řešení: 1,' "$tmp/filled" || fail "the filled template found no solution"

# JSON against the text report, on the sample request and on a planner file it saved.
run text solve --catalogue "$catalogue" --request "$request" --save "$tmp/plan.ppl"
run json solve --catalogue "$catalogue" --request "$request" --format json
[[ $status -eq 0 && ! -s $tmp/json.err ]] || fail "solve --format json: exit $status"
$check report "$tmp/text" "$tmp/json" || fail "solve: JSON and report"
run plan-text plan show "$tmp/plan.ppl"
run plan-json plan show "$tmp/plan.ppl" --format json
sed -n '/^Solution report$/,$p' "$tmp/plan-text" | tail -n +2 >"$tmp/plan-report"
$check report "$tmp/plan-report" "$tmp/plan-json" || fail "plan show: JSON and report"
cmp -s <(sed 1,4d "$tmp/json") <(sed 1,4d "$tmp/plan-json") ||
    fail "plan show and solve give other solutions as JSON"

# The bill of every solution and of the first by default; the message goes to stderr.
run csv-all solve --catalogue "$catalogue" --request "$request" --format csv --solution all
[[ $status -eq 0 ]] || fail "solve --format csv: exit $status"
grep -q '^Zadání vyhovují(e) ' "$tmp/csv-all.err" || fail "no message on stderr for csv"
$check bill "$tmp/csv-all" "$tmp/json" >"$tmp/names" || fail "bill of all solutions"
[[ $(wc -l <"$tmp/names") -eq $(grep -c '^Řešení: ' "$tmp/text") ]] || fail "not every solution billed"
run csv-one plan show "$tmp/plan.ppl" --format csv
$check bill "$tmp/csv-one" "$tmp/json" >"$tmp/names" || fail "bill of plan show"
[[ $(cut -d' ' -f1 "$tmp/names") == 1 ]] || fail "plan show --format csv is not solution 1 alone"

# Names with a comma and quotes survive the quoting.
"$pinsum" catalogue export "$catalogue" | python3 -c '
import json, sys
c = json.load(sys.stdin)
old = "DX-16"
for m in c["modules"]:
    if m["name"] == old:
        m["name"] = "DX-16 \"fast\", 24 V"
for d in c["devices"]:
    for p in d["positions"]:
        p["modules"] = [m.replace(old, "DX-16 \"fast\", 24 V") if m == old else m for m in p["modules"]]
json.dump(c, sys.stdout, ensure_ascii=False)' >"$tmp/quoted.json"
"$pinsum" catalogue import "$tmp/quoted.json" "$tmp/quoted.pp" || fail "quoted catalogue"
run quoted-json solve --catalogue "$tmp/quoted.pp" --request "$request" --format json
run quoted-csv solve --catalogue "$tmp/quoted.pp" --request "$request" --format csv
$check bill "$tmp/quoted-csv" "$tmp/quoted-json" >"$tmp/names" || fail "bill with quoted names"
grep -q '|DX-16 "fast", 24 V|' "$tmp/names" || fail "the quoted name is not read back: $(cat "$tmp/names")"

# Names and markings a spreadsheet would take for formulas read back as the text they are.
"$pinsum" catalogue export "$catalogue" | python3 -c '
import json, sys
c = json.load(sys.stdin)
names = {"DX-16": "=HYPERLINK(\"http://example.com/\",\"x\")", "DT-16": "+1+1", "AI-4": "@SUM(1)",
         "CM-485": "\tTab", "TX-100": "\rCR"}
for m in c["modules"] + c["devices"]:
    m["name"] = names.get(m["name"], m["name"])
for d in c["devices"]:
    for p in d["positions"]:
        p["modules"] = [names.get(m, m) for m in p["modules"]]
json.dump(c, sys.stdout, ensure_ascii=False)' >"$tmp/formula.json"
"$pinsum" catalogue import "$tmp/formula.json" "$tmp/formula.pp" || fail "formula catalogue"
run formula-json solve --catalogue "$tmp/formula.pp" --request "$request" --format json
run formula-csv solve --catalogue "$tmp/formula.pp" --request "$request" --format csv --solution all
$check bill "$tmp/formula-csv" "$tmp/formula-json" >"$tmp/names" || fail "bill with formula names"
grep -qF '|=HYPERLINK("http://example.com/","x")|' "$tmp/names" ||
    fail "the formula name is not read back: $(cat "$tmp/names")"
grep -qF ',"=""-DX16""",' "$tmp/formula-csv" || fail "the marking -DX16 is not written as its text"

# Bad values are bad input, said once.
for args in "--format xml" "--format csv --solution 0" "--format csv --solution 99" "--solution 1"; do
    run bad solve --catalogue "$catalogue" --request "$request" $args
    [[ $status -eq 2 && $(wc -l <"$tmp/bad.err") -eq 1 ]] || fail "$args: exit $status"
done

exit $((failures > 0))
