#!/usr/bin/env bash
# The bash completion offers commands, options, format names and the catalogue's item names, quotes
# in names included.
# Usage: completion_cli.sh PINSUM_BINARY SOURCE_DIR
set -u

PATH=$(dirname "$1"):$PATH
catalogue=$(dirname "$1")/../../data/iodb.pp
source "$2/scripts/pinsum-completion.bash"
failures=0

# expect OFFERED WORDS...: completing the last of WORDS offers exactly OFFERED ("|"-separated).
expect() {
    local offered=$1
    shift
    COMP_WORDS=(pinsum "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _pinsum
    local got
    got=$(IFS='|' && echo "${COMPREPLY[*]}")
    [[ $got == "$offered" ]] || { echo "FAIL: pinsum $*: '$got' instead of '$offered'" >&2; failures=$((failures + 1)); }
}

expect "request" req
expect "template|from-signals" request ""
expect "--format|--output|--solution|--help" plan show x.ppl --
expect "text|json|csv|xlsx|pdf" solve --format ""
expect "--sheet|--type-column|--map|--catalogue|--help" request from-signals list.xlsx --
expect "DX-16|DX-32" help show "$catalogue" DX
expect 'Dotykový panel 7"' help show "$catalogue" Dotyk

exit $((failures > 0))
