#!/usr/bin/env bash
# pinsum request from-signals: the sample signal list, as XLSX and as CSV, gives the hand-written
# request and its solutions; unmapped types are listed with rows and hints; hostile lists (a zip
# bomb, a sheet of a million rows, text that is no UTF-8, formulas) end in one error line within
# bounded memory.
# Usage: signals_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"
data=$2/data
# Debian's Python, which has openpyxl and writes the hostile files.
debian_python=/usr/bin/python3

# run NAME ARGUMENTS...: pinsum with ARGUMENTS, stdout to $tmp/NAME, stderr to $tmp/NAME.err,
# the exit status in $status.
run() {
    local name=$1
    shift
    status=0
    "$pinsum" "$@" >"$tmp/$name" 2>"$tmp/$name.err" || status=$?
}

# refused NAME PATTERN ARGUMENTS...: from-signals exits 2 with one stderr line matching PATTERN,
# having printed nothing.
refused() {
    local name=$1 pattern=$2
    shift 2
    run "$name" request from-signals --catalogue "$catalogue" "$@"
    [[ $status -eq 2 ]] || fail "$name: exit $status"
    [[ ! -s $tmp/$name ]] || fail "$name: printed a request"
    [[ $(wc -l <"$tmp/$name.err") -eq 1 ]] || fail "$name: not one line: $(head -3 "$tmp/$name.err")"
    grep -qE -- "$pattern" "$tmp/$name.err" || fail "$name: $(cat "$tmp/$name.err")"
}

# The round trip: list -> request -> solve gives what the hand-written request gives.
for list in signal-list.xlsx signal-list.csv; do
    run "$list.json" request from-signals "$data/$list" --map "$data/signal-map.json" \
        --catalogue "$catalogue"
    [[ $status -eq 0 ]] || fail "$list: exit $status: $(cat "$tmp/$list.json.err")"
    grep -q "left out, without a type: rows 4, 46, 72$" "$tmp/$list.json.err" ||
        fail "$list: section rows not reported: $(cat "$tmp/$list.json.err")"
    grep -q "left out, as the map file says: rows 45, 71$" "$tmp/$list.json.err" ||
        fail "$list: spares not reported"
    python3 -c '
import json, sys
made, written = (json.load(open(p)) for p in sys.argv[1:3])
counts = {k: v for k, v in made["counts"].items() if v}
assert counts == written["counts"], (counts, written["counts"])
assert made["level"] == 0 and made["terminals_enabled"] == [] and made["series"] == ["Řada TX"], made' \
        "$tmp/$list.json" "$data/signal-request.json" || fail "$list: not the hand-written request"
    run "$list.solved" solve --catalogue "$catalogue" --request "$tmp/$list.json" --format json
    run hand.solved solve --catalogue "$catalogue" --request "$data/signal-request.json" --format json
    grep -q '"number": 1,' "$tmp/$list.solved" || fail "$list: no solution"
    cmp -s "$tmp/$list.solved" "$tmp/hand.solved" || fail "$list: other solutions than by hand"
done
run sheet request from-signals "$data/signal-list.xlsx" --sheet "signály" --map "$data/signal-map.json" \
    --catalogue "$catalogue"
cmp -s "$tmp/sheet" "$tmp/signal-list.xlsx.json" || fail "--sheet with the first sheet's name"

# Unmapped types: each with its rows and the catalogue's names like it.
refused unmapped "signal types that are no IO kind of the catalogue: 'DI' \(rows 5, 6, 7, 8, 9, 10, 11, 12, 13, 14 and 30 more: did you mean 'DI 24V DC', 'DI 230V AC' or 'Displej 4x20'\?\); 'Rezerva' \(rows 45, 71\); 'DO' \(rows 47, .*'DO tranzistor'.*; 'RS485' \(row 81.*name them with --map" \
    "$data/signal-list.csv"
refused no-column "sheet 'Revize': no column named 'Typ' or" "$data/signal-list.xlsx" --sheet Revize
refused no-sheet "no sheet 'IO' in the workbook \(it has 'Signály', 'Revize'\)" \
    "$data/signal-list.xlsx" --sheet IO
echo '{"DI": "DI 24 V"}' >"$tmp/bad-map.json"
refused bad-map "bad-map.json: \[\"DI\"\]: unknown IO kind 'DI 24 V' \(did you mean 'DI 24V DC'" \
    "$data/signal-list.csv" --map "$tmp/bad-map.json"

# Formulas are never worked out: a CSV cell holding one is its text, an XLSX cell its saved value.
printf 'Typ\r\n=HYPERLINK("http://x";"DI 24V DC")\r\n' >"$tmp/formula.csv"
refused formula-csv "'=HYPERLINK\(\"http://x\";\"DI 24V DC\"\)' \(row 2\)" "$tmp/formula.csv"
printf 'Typ;Popis\r\nDI 24V DC;\xc8idlo\r\n' >"$tmp/cp1250.csv"
refused cp1250 "cp1250.csv: row 2, column B: the text is not UTF-8" "$tmp/cp1250.csv"

# Hostile XLSX files, written by Python's zipfile: the sheet's XML streams through, so memory
# stays bounded whatever the file says.
$debian_python - "$tmp" <<'PYTHON' || fail "cannot write the hostile files"
import sys, zipfile
tmp = sys.argv[1]
main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
pkg = "http://schemas.openxmlformats.org/package/2006/relationships"
def workbook(path, write_sheet):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("_rels/.rels", f'<Relationships xmlns="{pkg}"><Relationship Id="r1" '
                   f'Type="{rel}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/workbook.xml", f'<workbook xmlns="{main}" xmlns:r="{rel}"><sheets>'
                   '<sheet name="IO" sheetId="1" r:id="r1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels", f'<Relationships xmlns="{pkg}"><Relationship '
                   f'Id="r1" Type="{rel}/worksheet" Target="worksheets/sheet1.xml"/></Relationships>')
        with z.open("xl/worksheets/sheet1.xml", "w", force_zip64=True) as sheet:
            write_sheet(sheet)
def bomb(sheet):
    sheet.write(f'<worksheet xmlns="{main}"><sheetData>'.encode())
    blanks = b" " * (1 << 20)
    for _ in range(600):
        sheet.write(blanks)
def million(sheet):
    sheet.write(f'<worksheet xmlns="{main}"><sheetData>'.encode())
    sheet.write(b'<row r="1"><c r="A1" t="inlineStr"><is><t>Typ</t></is></c></row>')
    for row in range(2, 1_000_001):
        sheet.write(f'<row r="{row}"><c r="A{row}" t="inlineStr"><is><t>DI 24V DC</t></is></c>'
                    '</row>'.encode())
    sheet.write(b"</sheetData></worksheet>")
def formulas(sheet):
    sheet.write(f'<worksheet xmlns="{main}"><sheetData><row r="1"><c r="A1" t="inlineStr"><is>'
                '<t>Typ</t></is></c></row><row r="2"><c r="A2" t="str"><f>"DI 24V "&amp;"DC"</f>'
                '<v>DI 24V DC</v></c></row><row r="3"><c r="A3" t="str"><f>A2</f></c><c r="B3" t="inlineStr"><is><t>x</t></is></c></row>'
                '</sheetData></worksheet>'.encode())
workbook(f"{tmp}/bomb.xlsx", bomb)
workbook(f"{tmp}/million.xlsx", million)
workbook(f"{tmp}/formulas.xlsx", formulas)
PYTHON

# bounded NAME PATTERN FILE: refused, with a peak resident size below 400 MB (the build's
# sanitizers included).
bounded() {
    local name=$1 pattern=$2 file=$3
    /usr/bin/time -f '%M' -o "$tmp/$name.kb" "$pinsum" request from-signals --catalogue "$catalogue" \
        "$file" >"$tmp/$name" 2>"$tmp/$name.err"
    [[ $? -eq 2 ]] || fail "$name: not refused"
    grep -qE -- "$pattern" "$tmp/$name.err" || fail "$name: $(cat "$tmp/$name.err")"
    [[ $(tail -1 "$tmp/$name.kb") -lt 400000 ]] || fail "$name: $(tail -1 "$tmp/$name.kb") kB"
}
bounded bomb "bomb.xlsx: part 'xl/worksheets/sheet1.xml' is larger than 512 MB uncompressed" \
    "$tmp/bomb.xlsx"
bounded million "million.xlsx: sheet 'IO': row 250001: the sheet has more than 250000 rows" \
    "$tmp/million.xlsx"

run formulas request from-signals "$tmp/formulas.xlsx" --catalogue "$catalogue"
[[ $status -eq 0 ]] || fail "formulas: exit $status: $(cat "$tmp/formulas.err")"
grep -q '"DI 24V DC": 1,' "$tmp/formulas" || fail "formulas: the saved value is not counted"
grep -q "without a type: row 3$" "$tmp/formulas.err" || fail "formulas: a formula without a value"

exit $((failures > 0))
