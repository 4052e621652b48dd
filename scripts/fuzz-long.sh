#!/usr/bin/env bash
# The long fuzz campaign: runs every reader fuzzer of BUILD (a build configured with PINSUM_FUZZ)
# far beyond the bounded runs of the tests, one fuzzer at a time at the lowest priority, and ends
# with how many inputs each ran. What a run learns stays in BUILD/fuzz-long/corpus/TARGET for the
# next campaign; an input that fails is kept in BUILD/fuzz-long/artifacts/TARGET.
# usage: fuzz-long.sh BUILD RUNS SECONDS [TARGET...]   (RUNS or SECONDS 0: no limit of that kind)
set -uo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 BUILD RUNS SECONDS [TARGET...]" >&2
    exit 2
fi
build=$1 runs=$2 seconds=$3
shift 3
root=$(cd "$(dirname "$0")/.." && pwd)
nested=$build/fuzz/clang
out=$build/fuzz-long
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(catalogue_reader planner_reader markup_tokenizer markup_converter picture_element
             metafile_reader picture_file_reader catalogue_json signal_csv_reader signal_xlsx_reader)
fi
if [ "$runs" = 0 ] && [ "$seconds" = 0 ]; then
    echo "fuzz-long: give a number of inputs or a time, or both" >&2
    exit 2
fi

export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p "$out"
summary=$out/summary.txt
: >"$summary"
failed=0
for target in "${targets[@]}"; do
    corpus=${target%_reader}
    [ "$target" = catalogue_json ] && corpus=catalogue
    fuzzer=$nested/fuzz_$target
    work=$out/corpus/$target
    artifacts=$out/artifacts/$target/
    log=$out/$target.log
    mkdir -p "$work" "$artifacts"
    seeds=("$nested/seeds/$corpus")
    [ -d "$root/fuzz/corpus/$corpus" ] && seeds+=("$root/fuzz/corpus/$corpus")
    echo "fuzz-long: $target (log in $log)"
    # The timeout is wall-clock time, and at the lowest priority a busy machine can hold an input
    # back for seconds: only an input that hangs should fail the campaign.
    nice -n 19 "$fuzzer" -timeout=60 -rss_limit_mb=1024 -malloc_limit_mb=512 -max_len=4096 \
        -runs="$runs" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts" "$work" "${seeds[@]}" >"$log" 2>&1
    status=$?
    units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [ $status -eq 0 ]; then
        result=clean
    else
        result="FAILED ($status), inputs in $artifacts"
        failed=1
    fi
    printf '%-20s %12s inputs  %6s/s  %s\n' "$target" "${units:-?}" "${speed:-?}" \
        "$result" | tee -a "$summary"
done
exit $failed
