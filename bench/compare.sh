#!/usr/bin/env bash
# Times the search benchmarks of this tree against those of an older commit, side by side on the
# same machine: both are built in Release with this tree's bench/search_bench.cpp (it uses only
# the search's entry, so it builds against either), then run in turn, one repetition of each at a
# time. Printed are the median CPU time of each side and the median of the rounds' ratios
# (base / new), which holds up when the machine's speed drifts between rounds.
#
# Usage: bench/compare.sh BASE_COMMIT [FILTER] [ROUNDS]
#   FILTER  a Google Benchmark filter (default: BM_SearchGenerated)
#   ROUNDS  repetitions of each side (default: 5)
# PINSUM_COMPARE_DIR sets the working folder (default: build/compare); JOBS the build's jobs.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
base=$1
filter=${2:-BM_SearchGenerated}
rounds=${3:-5}
root=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
work=${PINSUM_COMPARE_DIR:-$root/build/compare}
jobs=${JOBS:-2}

build() { # SOURCE BUILD
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DPINSUM_BUILD_TESTS=OFF \
        -DPINSUM_BUILD_BENCH=ON >"$2.log" 2>&1
    cmake --build "$2" -j"$jobs" --target pinsum_bench >>"$2.log" 2>&1 ||
        { echo "build of $1 failed, see $2.log" >&2; exit 1; }
}

mkdir -p "$work"
commit=$(git -C "$root" rev-parse "$base^{commit}")
# A second comparison against the same commit builds only what changed.
if [[ "$(cat "$work/base-src.commit" 2>/dev/null)" != "$commit" ]]; then
    rm -rf "$work/base-src" "$work/base"
    mkdir -p "$work/base-src"
    git -C "$root" archive "$commit" | tar -x -C "$work/base-src"
    echo "$commit" >"$work/base-src.commit"
fi
cmp -s "$root/bench/search_bench.cpp" "$work/base-src/bench/search_bench.cpp" ||
    cp "$root/bench/search_bench.cpp" "$work/base-src/bench/search_bench.cpp"
echo "building $base and the working tree ..." >&2
build "$work/base-src" "$work/base"
build "$root" "$work/new"

rm -f "$work"/run-*.json
for ((i = 1; i <= rounds; ++i)); do
    for side in base new; do
        echo "round $i/$rounds: $side" >&2
        "$work/$side/bench/pinsum_bench" --benchmark_filter="$filter" \
            --benchmark_out="$work/run-$side-$i.json" --benchmark_out_format=json >/dev/null
    done
done

python3 - "$work" "$rounds" <<'EOF'
import json, statistics, sys
work, rounds = sys.argv[1], int(sys.argv[2])
times = {"base": {}, "new": {}}
for side in times:
    for i in range(1, rounds + 1):
        with open(f"{work}/run-{side}-{i}.json") as f:
            for b in json.load(f)["benchmarks"]:
                times[side].setdefault(b["name"], []).append(b["cpu_time"])
print(f"{'benchmark':<48} {'base ms':>10} {'new ms':>10} {'base/new':>9}")
for name, base in times["base"].items():
    new = times["new"].get(name)
    if not new or len(new) != len(base):
        continue
    ratio = statistics.median(b / n for b, n in zip(base, new))
    print(f"{name:<48} {statistics.median(base):>10.2f} {statistics.median(new):>10.2f} "
          f"{ratio:>9.1f}")
EOF
