#!/usr/bin/env bash
# The XLSX bill and the PDF quotation of solve and plan show, read back with real readers (Debian's
# openpyxl, pdftotext) and compared with the JSON of the same solutions; names that look like
# formulas stay text; a file replaced keeps its permissions.
# Usage: quotation_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"
check="/usr/bin/python3 $2/tests/cli/check_bill_files.py"

run() {
    local name=$1
    shift
    status=0
    "$pinsum" "$@" >"$tmp/$name" 2>"$tmp/$name.err" || status=$?
}

# Every solution, and one of a planner file.
run json solve --catalogue "$catalogue" --request "$request" --format json --save "$tmp/plan.ppl"
for format in xlsx pdf; do
    run $format solve --catalogue "$catalogue" --request "$request" --format $format --solution all \
        --output "$tmp/all.$format"
    [[ $status -eq 0 && ! -s $tmp/$format ]] || fail "solve --format $format: exit $status"
    grep -q '^Zadání vyhovují(e) 7 řešení$' "$tmp/$format.err" || fail "$format: no message on stderr"
done
$check xlsx "$tmp/all.xlsx" "$tmp/json" "$request" || fail "the XLSX bill is not the JSON's"
pdftotext -layout "$tmp/all.pdf" "$tmp/all.txt" || fail "pdftotext"
$check pdf "$tmp/all.txt" "$tmp/json" "$request" || fail "the PDF quotation is not the JSON's"
pdffonts "$tmp/all.pdf" | grep -q 'DejaVuSans .*yes yes yes' || fail "DejaVu Sans is not embedded"

run plan-xlsx plan show "$tmp/plan.ppl" --format xlsx --solution 2 --output "$tmp/two.xlsx"
[[ $status -eq 0 ]] || fail "plan show --format xlsx: exit $status: $(cat "$tmp/plan-xlsx.err")"
python3 -c '
import json, sys
solutions = json.load(open(sys.argv[1]))
solutions["solutions"] = [s for s in solutions["solutions"] if s["number"] == 2]
json.dump(solutions, open(sys.argv[2], "w"))' "$tmp/json" "$tmp/two.json"
$check xlsx "$tmp/two.xlsx" "$tmp/two.json" "$request" || fail "plan show's bill of solution 2"

# Names that a spreadsheet would take for formulas are string cells.
"$pinsum" catalogue export "$catalogue" | python3 -c '
import json, sys
c = json.load(sys.stdin)
names = {"DX-16": "=1+2", "MK-T300": "@SUM(A1)"}
for m in c["modules"] + c["devices"]:
    m["name"] = names.get(m["name"], m["name"])
for d in c["devices"]:
    for p in d["positions"]:
        p["modules"] = [names.get(m, m) for m in p["modules"]]
json.dump(c, sys.stdout, ensure_ascii=False)' >"$tmp/formulas.json"
"$pinsum" catalogue import "$tmp/formulas.json" "$tmp/formulas.pp" || fail "formula catalogue"
run formulas-json solve --catalogue "$tmp/formulas.pp" --request "$request" --format json
run formulas solve --catalogue "$tmp/formulas.pp" --request "$request" --format xlsx --output "$tmp/f.xlsx"
$check xlsx "$tmp/f.xlsx" <(python3 -c '
import json, sys
s = json.load(open(sys.argv[1])); s["solutions"] = s["solutions"][:1]; json.dump(s, sys.stdout)' \
    "$tmp/formulas-json") "$request" || fail "names like formulas"
/usr/bin/python3 -c '
import openpyxl, sys
cells = [c for row in openpyxl.load_workbook(sys.argv[1])["Řešení 1"].iter_rows() for c in row]
assert any(c.value == "=1+2" and c.data_type == "s" for c in cells), "no =1+2 string cell"' \
    "$tmp/f.xlsx" || fail "=1+2 is not a string cell"

# A refused search still writes its quotation, which says there is no solution.
echo '{"counts": {}}' >"$tmp/nothing.json"
run nothing solve --catalogue "$catalogue" --request "$tmp/nothing.json" --format pdf --output "$tmp/nothing.pdf"
[[ $status -eq 1 ]] || fail "a refused search: exit $status"
pdftotext "$tmp/nothing.pdf" - | grep -q 'Žádné řešení' || fail "the empty quotation"

# A file is replaced keeping its permissions; one that cannot be written is bad input, said once.
echo old >"$tmp/keep.pdf"
chmod 640 "$tmp/keep.pdf"
run replace solve --catalogue "$catalogue" --request "$request" --format pdf --output "$tmp/keep.pdf"
[[ $status -eq 0 && $(head -c 5 "$tmp/keep.pdf") == %PDF- ]] || fail "the old file is not replaced"
[[ $(stat -c %a "$tmp/keep.pdf") == 640 ]] || fail "the replaced file lost its permissions"
for target in "$tmp/missing/bill.xlsx" "$tmp"; do
    run failed solve --catalogue "$catalogue" --request "$request" --format xlsx --output "$target"
    [[ $status -eq 2 && $(wc -l <"$tmp/failed.err") -eq 1 ]] ||
        fail "--output $target: exit $status: $(cat "$tmp/failed.err")"
done

# Bad combinations are bad input.
for args in "--format xlsx" "--format pdf --solution 0" "--format json --output $tmp/x" \
    "--format pdf --solution 99 --output $tmp/x.pdf"; do
    run bad solve --catalogue "$catalogue" --request "$request" $args
    [[ $status -eq 2 ]] || fail "solve $args: exit $status"
done
[[ ! -e $tmp/x.pdf ]] || fail "a bad --solution wrote the file"

exit $((failures > 0))
