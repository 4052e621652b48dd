#!/usr/bin/env bash
# Names typed in another Unicode form (decomposed diacritics, as some editors and macOS write them)
# match the catalogue's, in requests and in help show; a name that matches none gets the closest.
# Usage: names_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"

nfd() {
    python3 -c 'import sys, unicodedata; print(unicodedata.normalize("NFD", sys.argv[1]), end="")' "$1"
}

# The sample request with every name decomposed gives the same bytes as the request itself.
nfd "$(cat "$request")" >"$tmp/nfd.json"
cmp -s "$request" "$tmp/nfd.json" && fail "the decomposed request is not different bytes"
"$pinsum" solve --catalogue "$catalogue" --request "$request" >"$tmp/nfc.out" || fail "NFC request"
"$pinsum" solve --catalogue "$catalogue" --request "$tmp/nfd.json" >"$tmp/nfd.out" 2>"$tmp/err" ||
    fail "NFD request: $(cat "$tmp/err")"
cmp -s "$tmp/nfc.out" "$tmp/nfd.out" || fail "the NFD request gives another result"

"$pinsum" help show "$catalogue" "$(nfd 'Řada TX')" >"$tmp/help" 2>"$tmp/err" ||
    fail "help show with an NFD name: $(cat "$tmp/err")"
"$pinsum" help show "$catalogue" "Řada TX" | cmp -s - "$tmp/help" || fail "NFD help differs"

# Two keys that differ only in their form are refused as a key given twice is, naming both.
printf '{"counts": {"Čítač": 3, "%s": 5}}' "$(nfd 'Čítač')" >"$tmp/twice.json"
"$pinsum" solve --catalogue "$catalogue" --request "$tmp/twice.json" >/dev/null 2>"$tmp/err"
status=$?
[[ $status == 2 ]] || fail "keys equal in normal form C: exit status $status"
grep -qF "counts: the keys 'Čítač' and '$(nfd 'Čítač')' are the same name in Unicode normal form C" \
    "$tmp/err" || fail "keys equal in normal form C: $(cat "$tmp/err")"

# Hints: a missing diacritic, letter case, a missing hyphen; none for a name like nothing.
hint() {
    local expected=$1
    shift
    "$pinsum" "$@" >/dev/null 2>"$tmp/err"
    grep -qF "$expected" "$tmp/err" || fail "no hint $expected in: $(cat "$tmp/err")"
}
printf '{"counts": {"DI 24V DC": 1}, "series": ["Rada MK"]}' >"$tmp/series.json"
hint "unknown series 'Rada MK' (did you mean 'Řada MK'?)" solve --catalogue "$catalogue" \
    --request "$tmp/series.json"
printf '{"counts": {"ai 4-20ma": 1}}' >"$tmp/kind.json"
hint "(did you mean 'AI 4-20mA'?)" solve --catalogue "$catalogue" --request "$tmp/kind.json"
hint "no item named 'DX16' in the catalogue (did you mean 'DX-16'?)" help show "$catalogue" DX16
"$pinsum" help show "$catalogue" "Something else" 2>"$tmp/err"
grep -q "did you mean" "$tmp/err" && fail "a hint for a name like nothing: $(cat "$tmp/err")"

exit $((failures > 0))
