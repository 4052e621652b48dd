#!/usr/bin/env bash
# The solve command on the sample catalogue: output and exit statuses, determinism, the planner
# file it saves, refused and bad requests, and Ctrl+C keeping the finished solutions.
# Usage: solve_cli.sh PINSUM_BINARY SOURCE_DIR
set -u
# The English messages and labels these tests compare with.
export LC_ALL=C

source "$(dirname "$0")/cli_setup.sh"

# solve ARGUMENTS...: pinsum solve on the sample catalogue; leaves the exit status in $status.
solve() {
    status=0
    "$pinsum" solve --catalogue "$catalogue" "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
}

# request NAME JSON: writes a request file and prints its path.
request() {
    printf '%s\n' "$2" >"$tmp/$1.json"
    echo "$tmp/$1.json"
}

# expect_refused TEXT ARGUMENTS...: exit status 1 and only the search's message TEXT on stdout.
expect_refused() {
    local text=$1
    shift
    solve "$@"
    [[ $status -eq 1 ]] || fail "exit $status instead of 1 for: $*"
    [[ $(cat "$tmp/out") == "$text" ]] || fail "output '$(cat "$tmp/out")' instead of '$text'"
}

# expect_error PATTERN ARGUMENTS...: exit status 2 and one stderr line "pinsum: ..." with PATTERN.
expect_error() {
    local pattern=$1
    shift
    solve "$@"
    [[ $status -eq 2 ]] || fail "exit $status instead of 2 for: $*"
    [[ $(wc -l <"$tmp/err") -eq 1 ]] || fail "not one error line for: $*: $(cat "$tmp/err")"
    grep -q "^pinsum: .*$pattern" "$tmp/err" || fail "no '$pattern' in: $(cat "$tmp/err")"
}

# The bundled request: the result message, then one report per solution; nothing on stderr.
solve --request "$request"
[[ $status -eq 0 ]] || fail "exit $status for the bundled request: $(cat "$tmp/err")"
[[ ! -s $tmp/err ]] || fail "stderr is not empty: $(cat "$tmp/err")"
cp "$tmp/out" "$tmp/first.txt"
first_line=$(head -n 1 "$tmp/first.txt")
count=${first_line#Zadání vyhovují(e) }
count=${count% řešení}
[[ $count =~ ^[0-9]+$ && $count -ge 1 ]] || fail "first line is '$first_line'"
[[ $(grep -c '^Řešení: ' "$tmp/first.txt") -eq ${count:-0} ]] ||
    fail "$count solutions announced, $(grep -c '^Řešení: ' "$tmp/first.txt") reported"
grep -q $'^\t\t' "$tmp/first.txt" || fail "no module lines in the report"
! grep -q $'\r' "$tmp/first.txt" || fail "the report keeps carriage returns"

# The same request gives the same bytes, also when the project is saved.
solve --request "$request" --save "$tmp/plan.ppl"
[[ $status -eq 0 ]] || fail "exit $status with --save"
cmp -s "$tmp/first.txt" "$tmp/out" || fail "a second run printed something else"
"$pinsum" plan show "$tmp/plan.ppl" >"$tmp/plan.txt" 2>"$tmp/err" || fail "plan show: $(cat "$tmp/err")"
sed -n '/^Solution report$/,$p' "$tmp/plan.txt" | tail -n +2 >"$tmp/plan-report.txt"
tail -n +2 "$tmp/first.txt" | cmp -s - "$tmp/plan-report.txt" ||
    fail "plan show reports other solutions than solve printed"

# A reader that went away ends the program quietly, but only after the planner file is saved.
{ while [[ ! -e $tmp/closed ]]; do sleep 0.05; done
  "$pinsum" solve --catalogue "$catalogue" --request "$request" --save "$tmp/piped.ppl" 2>"$tmp/err"
  echo $? >"$tmp/status"; } | { exec 0<&-; touch "$tmp/closed"; }
[[ $(cat "$tmp/status") -eq 141 && ! -s $tmp/err ]] ||
    fail "exit $(cat "$tmp/status") after the reader went away: $(cat "$tmp/err")"
cmp -s "$tmp/plan.ppl" "$tmp/piped.ppl" || fail "the planner file was not saved into a closed pipe"

# --level wins over the request's level; a level outside 0..6, from either, is bad input.
solve --request "$(request level9 '{"level": 9, "counts": {"DI 24V DC": 8}}')" --level 0
[[ $status -eq 0 ]] || fail "exit $status when --level overrides the request's level"
for level in -1 7 99999999999 99999999999999999999999; do
    expect_error "--level: expected an integer from 0 to 6, not '$level'" \
        --request "$request" --level "$level"
done
expect_error "level9.json: level: expected an integer from 0 to 6" --request "$tmp/level9.json"

# Requests the search refuses, with its own messages.
expect_refused "Nejsou zadány požadované počty IO bodů" \
    --request "$(request zero '{"counts": {"DI 24V DC": 0}}')"
expect_refused "Výběr neobsahuje žádné řídicí zařízení" \
    --request "$(request none '{"counts": {"DI 24V DC": 8}, "series": []}')"
expect_refused "Výběr neobsahuje žádné programovatelné zařízení typu automat" \
    --request "$(request peripherals '{"counts": {"DI 24V DC": 8}, "series": ["Řada TX"],
        "unchecked_devices": ["TX-100", "TX-200"]}')"

# Bad requests and arguments.
expect_error "missing.json" --request "$tmp/missing.json"
expect_error "bad.json: invalid JSON" --request "$(request bad '{"counts": ')"
expect_error 'unknown.json: counts\["DI 24 V"\]: unknown IO kind' \
    --request "$(request unknown '{"counts": {"DI 24 V": 1}}')"
expect_error "series\[0\]: unknown series 'Řada XX'" \
    --request "$(request series '{"series": ["Řada XX"]}')"
expect_error "unchecked_devices\[0\]: unknown device 'TX-1'" \
    --request "$(request device '{"unchecked_devices": ["TX-1"]}')"
expect_error 'counts\["DI 24V DC"\]: expected an integer from 0 to 10000' \
    --request "$(request many '{"counts": {"DI 24V DC": 10001}}')"
expect_error "level: expected an integer" --request "$(request level '{"level": "2"}')"
expect_error "--level: expected an integer" --request "$request" --level fast
expect_error "usage: pinsum solve" --level 2
expect_error "unknown option '--fast'" --request "$request" --fast
expect_error "no such catalogue file" --request "$request" --catalogue "$tmp/missing.pp"
expect_error "no catalogue database" --request "$request" --catalogue "$request"
head -c 300 "$catalogue" >"$tmp/damaged.pp"
expect_error "damaged.pp" --request "$request" --catalogue "$tmp/damaged.pp"

# The exact mode: on the bundled request the search's first answer is already the cheapest, so it
# is listed once, marked; on the README's second request the proven cheapest is far below the
# search's first answer; a request no selected device can place is exit status 1.
price() { grep -m1 '^Řešení: ' "$tmp/out" | sed 's/^Řešení: [0-9]*, Cena: \([0-9.]*\),.*/\1/'; }
solve --request "$request" --exact
[[ $status -eq 0 ]] || fail "exit $status with --exact: $(cat "$tmp/err")"
grep -q '^Řešení: 1, Cena: 37751, .* - Nejlevnější možné řešení$' "$tmp/out" ||
    fail "--exact: $(grep -m1 '^Řešení' "$tmp/out")"
[[ $(grep -c '^Řešení: ' "$tmp/out") -eq $(grep -c '^Řešení: ' "$tmp/first.txt") ]] ||
    fail "--exact listed the search's equal solution again"
saving=$2/data/request-saving.json
solve --request "$saving" --exact-only
[[ $status -eq 0 && $(grep -c '^Řešení: ' "$tmp/out") -eq 1 && $(price) == 35761 ]] ||
    fail "--exact-only on the saving request: exit $status, $(grep '^Řešení' "$tmp/out")"
solve --request "$saving"
[[ $(price) == 55890 ]] || fail "the search's first answer to the saving request: $(price)"
solve --request "$saving" --exact --format json
python3 -c 'import json, sys
marks = [s["proven_cheapest"] for s in json.load(open(sys.argv[1]))["solutions"]]
sys.exit(0 if len(marks) > 1 and marks[0] and not any(marks[1:]) else 1)' "$tmp/out" ||
    fail "JSON marks not only the first solution as the proven cheapest"
solve --request "$(request impossible '{"counts": {"Displej 4x20": 1}, "series": ["Řada TX"]}')" \
    --exact-only
[[ $status -eq 1 ]] || fail "exit $status for a request no device can place"
grep -q '^Z vybraných zařízení nelze sestavit úplné řešení zadání$' "$tmp/out" ||
    fail "no plain message for an impossible request: $(cat "$tmp/out")"

# A time limit passed with --exact-only lists nothing and says so with its own exit status. The
# stand-in solver beside a copy of the program answers at once that its time ran out.
mkdir "$tmp/timed"
cp "$pinsum" "$tmp/timed/pinsum"
printf '#!/bin/sh\nprintf "PXA1\\004\\000\\000\\000"; head -c 16 /dev/zero\n' \
    >"$tmp/timed/pinsum-exact-solver"
chmod +x "$tmp/timed/pinsum-exact-solver"
status=0
"$tmp/timed/pinsum" solve --catalogue "$catalogue" --request "$request" --exact-only \
    >"$tmp/out" 2>"$tmp/err" || status=$?
[[ $status -eq 3 ]] || fail "exit $status for --exact-only past its time limit: $(cat "$tmp/err")"
grep -q '^Nejlevnější řešení se nepodařilo v časovém limitu prokázat$' "$tmp/out" ||
    fail "no message for --exact-only past its time limit: $(cat "$tmp/out")"

# Ctrl+C during a long search stops it as the cancel button does: the solutions finished so far
# are still printed. stderr is a terminal here (script), so the progress line shows when the first
# solution is finished, and it is cleared before the program writes its note.
long=$(request long '{"level": 6, "series": ["Řada TX", "Řada MK", "Řada RV"],
    "counts": {"DI 24V DC": 1200, "DO tranzistor": 900, "DO relé": 300, "DI 230V AC": 240,
               "AI 4-20mA": 240, "AI 0-10V": 180, "Teplota Pt100": 120}}')
script -q -e -f -c "echo \$\$ >'$tmp/pid'; exec '$pinsum' solve --catalogue '$catalogue' \
    --request '$long' >'$tmp/out'" "$tmp/terminal" >/dev/null 2>&1 </dev/null &
script_pid=$!
for ((i = 0; i < 1200; i++)); do
    grep -aq 'Řešení [1-9][0-9]* - rozpracovaných' "$tmp/terminal" 2>/dev/null && break
    sleep 0.1
done
kill -INT "$(cat "$tmp/pid")" || fail "the long search ended before a solution was finished"
status=0
wait "$script_pid" || status=$?
[[ $status -eq 0 ]] || fail "exit $status after Ctrl+C"
result='^Zadání vyhovují\(e\) [1-9][0-9]* řešení$'
[[ $(head -n 1 "$tmp/out") =~ $result ]] || fail "first line after Ctrl+C: '$(head -n 1 "$tmp/out")'"
grep -q '^Řešení: 1, ' "$tmp/out" || fail "no solution printed after Ctrl+C"
grep -aq $'\r\e\[Kpinsum: cancelled; the solutions finished so far follow' "$tmp/terminal" ||
    fail "Ctrl+C did not cancel the search: $(tr '\r' '\n' <"$tmp/terminal" | tail -n 3)"

exit $((failures > 0))
