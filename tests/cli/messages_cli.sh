#!/usr/bin/env bash
# One language per run: the locale chooses English or Czech for the tool's own messages (error
# messages included, the engine's too), labels and --help, from the catalogue built beside the
# program, while the program's Czech texts, the report and the numbers of JSON and CSV stay the
# same in both.
# Usage: messages_cli.sh PINSUM_BINARY SOURCE_DIR
set -u

source "$(dirname "$0")/cli_setup.sh"

[[ -f $(dirname "$pinsum")/locale/cs/LC_MESSAGES/pinsum.mo ]] || fail "no Czech catalogue beside $pinsum"
locale -a | grep -qi '^cs_CZ\.utf-\?8$' || fail "the cs_CZ.UTF-8 locale is missing (scripts/install-deps.sh)"

# in_language LANG-SETTING EXPECTED COMMAND...: stdout and stderr of the command hold EXPECTED.
in_language() {
    local setting=$1 expected=$2
    shift 2
    env -u LANGUAGE -u LC_MESSAGES LC_ALL= LANG="$setting" "$pinsum" "$@" >"$tmp/out" 2>&1
    grep -qF -- "$expected" "$tmp/out" || fail "LANG=$setting $*: no '$expected' in: $(head -5 "$tmp/out")"
}
for setting in C en_US.UTF-8; do
    in_language "$setting" "pinsum: unknown option '--bogus'" solve --bogus
    in_language "$setting" "Options:" solve --help
done
in_language cs_CZ.UTF-8 "pinsum: neznámá volba '--bogus'" solve --bogus
in_language cs_CZ.UTF-8 "Volby:" solve --help
in_language cs_CZ.UTF-8 "  --request SOUBOR" solve --help
in_language cs_CZ.UTF-8 "Druhy IO (" catalogue show "$catalogue"
in_language C "IO kinds (" catalogue show "$catalogue"

# Every message marked for translation, the engine's included, has its Czech text.
source_dir=$2
sources=("$source_dir"/apps/pinsum/*.cpp)
while IFS= read -r file; do sources+=("$file"); done < <(grep -rl 'Translate(\|N_(' "$source_dir/src/core" --include='*.cpp')
xgettext --language=C++ --from-code=UTF-8 --keyword=Tr --keyword=N_ --keyword=Translate \
    --no-location -o "$tmp/pinsum.pot" "${sources[@]}" || fail "xgettext"
msgcmp "$source_dir/po/cs.po" "$tmp/pinsum.pot" 2>"$tmp/msgcmp" ||
    fail "messages without a Czech text: $(grep -c 'not defined' "$tmp/msgcmp")"

# Error messages in Czech: the tool's own, the request's and the JSON reader's.
printf '{"counts": {"DI 24V DC": 1}, "series": ["Rada MK"]}' >"$tmp/series.json"
in_language cs_CZ.UTF-8 "řada 'Rada MK' neexistuje (nemysleli jste 'Řada MK'?)" \
    solve --catalogue "$catalogue" --request "$tmp/series.json"
printf '{"counts": {"DI 24V DC": 1, "DI 24V DC": 2}}' >"$tmp/twice.json"
in_language cs_CZ.UTF-8 "counts: klíč 'DI 24V DC' je uveden dvakrát" \
    solve --catalogue "$catalogue" --request "$tmp/twice.json"
printf '{"counts": {"DI 24V DC": 10001}}' >"$tmp/many.json"
in_language cs_CZ.UTF-8 'očekáváno celé číslo od 0 do 10000' \
    solve --catalogue "$catalogue" --request "$tmp/many.json"
in_language cs_CZ.UTF-8 "--format: očekáváno text, json, csv, xlsx nebo pdf, ne 'xml'" \
    solve --catalogue "$catalogue" --request "$request" --format xml
in_language cs_CZ.UTF-8 "katalog nemá položku s názvem 'DX16' (nemysleli jste 'DX-16'?)" \
    help show "$catalogue" DX16
in_language C "unknown series 'Rada MK' (did you mean 'Řada MK'?)" \
    solve --catalogue "$catalogue" --request "$tmp/series.json"

# The report and the machine-readable outputs do not depend on the language.
"$pinsum" solve --catalogue "$catalogue" --request "$request" --save "$tmp/plan.ppl" >/dev/null
in_language cs_CZ.UTF-8 "Rozpis řešení" plan show "$tmp/plan.ppl"
in_language C "Solution report" plan show "$tmp/plan.ppl"
for format in text json csv; do
    LC_ALL=C "$pinsum" solve --catalogue "$catalogue" --request "$request" --format $format \
        >"$tmp/en" 2>/dev/null
    LC_ALL=cs_CZ.UTF-8 "$pinsum" solve --catalogue "$catalogue" --request "$request" --format $format \
        >"$tmp/cs" 2>/dev/null
    cmp -s "$tmp/en" "$tmp/cs" || fail "--format $format differs between the languages"
done

exit $((failures > 0))
