#!/usr/bin/env bash
# The help commands: an item's help as mark-up and as wrapped text, and rich text converted.
# Usage: help_cli.sh PINSUM_BINARY SOURCE_DIR
set -u

source "$(dirname "$0")/cli_setup.sh"
source_dir=$2

"$pinsum" catalogue import "$source_dir/data/catalogue.json" "$tmp/iodb.pp" || fail "import"

"$pinsum" help show "$tmp/iodb.pp" MK-500 >"$tmp/markup" 2>"$tmp/err" || fail "help show: $(cat "$tmp/err")"
grep -q '^<mi>' "$tmp/markup" || fail "help show does not start with <mi>"
grep -q '<pict 360x240 twips, 24x16 px' "$tmp/markup" || fail "picture summary missing"

"$pinsum" help show "$tmp/iodb.pp" MK-500 --plain >"$tmp/plain" 2>"$tmp/err" || fail "--plain: $(cat "$tmp/err")"
grep -q '<' "$tmp/plain" && fail "--plain output holds mark-up"
awk 'length($0) > 60 { bad = 1 } END { exit bad }' "$tmp/plain" || fail "--plain lines are not wrapped"

"$pinsum" help show "$tmp/iodb.pp" "No such item" >/dev/null 2>"$tmp/err"
status=$?
[ "$status" -eq 2 ] || fail "unknown item: exit $status"
grep -q "^pinsum: no item named 'No such item'" "$tmp/err" || fail "unknown item message"

"$pinsum" help convert "$source_dir/tests/data/help/formatted_text.rtf" >"$tmp/converted" \
    2>"$tmp/err" || fail "help convert: $(cat "$tmp/err")"
grep -q '<b>' "$tmp/converted" || fail "converted rich text lost its bold"

# A picture is summarised as help show does; --raw writes the exact mark-up in Windows-1250.
picture=$tmp/picture.rtf
python3 -c 'import json, sys
for device in json.load(open(sys.argv[1]))["devices"]:
    if device["name"] == "MK-500":
        open(sys.argv[2], "w", encoding="cp1250").write(device["help"])' \
    "$source_dir/data/catalogue.json" "$picture"
"$pinsum" help convert "$picture" >"$tmp/summary" 2>"$tmp/err" || fail "convert: $(cat "$tmp/err")"
grep -q '^<pict 360x240 twips, 24x16 px, JPEG' "$tmp/summary" ||
    fail "help convert does not summarise the picture"
LC_ALL=C grep -q '[[:cntrl:]]' <(tr -d '\n' <"$tmp/summary") &&
    fail "help convert prints control characters"
"$pinsum" help convert "$picture" --raw >"$tmp/raw" 2>"$tmp/err" || fail "--raw: $(cat "$tmp/err")"
LC_ALL=C grep -aq '<pict>' "$tmp/raw" || fail "--raw lost the picture element"
"$pinsum" help convert --raw "$source_dir/tests/data/help/formatted_text.rtf" >"$tmp/raw" ||
    fail "--raw before the file"
{ iconv -f CP1250 -t UTF-8 "$tmp/raw" && echo; } | cmp -s - "$tmp/converted" ||
    fail "--raw is not the converted text in Windows-1250"

"$pinsum" help convert "$tmp/missing.rtf" >/dev/null 2>&1
[ $? -eq 2 ] || fail "missing rich-text file is not exit 2"

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
echo "help commands: all checks passed"
