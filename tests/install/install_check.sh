#!/usr/bin/env bash
# cmake --install puts pinsum, its exact-mode solver and the sample catalogue where `pinsum solve`
# finds them without --catalogue, also when started through the link in bin/ from another folder.
# Usage: install_check.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cd /
out=$("$prefix/bin/pinsum" solve --request "$source/data/request.json")
first=$(head -n 1 <<<"$out")
if [[ $first != "Zadání vyhovují(e) "*" řešení" ]]; then
    echo "FAIL: the installed pinsum printed '$first'" >&2
    exit 1
fi
echo "installed pinsum found its catalogue: $first"
if [[ ! -x $prefix/libexec/pinsum/pinsum-exact-solver ]]; then
    echo "FAIL: the exact mode's solver is not installed beside pinsum" >&2
    exit 1
fi
exact=$("$prefix/bin/pinsum" solve --request "$source/data/request.json" --exact-only)
if ! grep -q -- '- Nejlevnější možné řešení$' <<<"$exact"; then
    echo "FAIL: the installed pinsum found no proven cheapest solution: $exact" >&2
    exit 1
fi
# No installed program knows the solver's place in the build tree: without the solver beside it,
# the installed pinsum solves in its own process rather than run whatever sits at that place.
for program in "$prefix"/libexec/pinsum/*; do
    if [[ -f $program && -x $program ]] && strings "$program" | grep -qF "$build/apps/pinsum/"; then
        echo "FAIL: $program holds a path into the build tree" >&2
        exit 1
    fi
done
rm "$prefix/libexec/pinsum/pinsum-exact-solver"
exact=$("$prefix/bin/pinsum" solve --request "$source/data/request.json" --exact-only)
if ! grep -q -- '- Nejlevnější možné řešení$' <<<"$exact"; then
    echo "FAIL: without its solver program the installed pinsum found no proven cheapest solution: $exact" >&2
    exit 1
fi
