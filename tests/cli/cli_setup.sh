# Sourced by the command-line tests with their arguments (PINSUM_BINARY SOURCE_DIR): the program,
# the sample catalogue built beside it and the sample request, a temporary folder removed at exit,
# and fail, which counts the failures that the script's last line turns into its exit status.
pinsum=$1
catalogue=$(dirname "$1")/../../data/iodb.pp
request=$2/data/request.json
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
