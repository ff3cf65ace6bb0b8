#!/usr/bin/env bash
# Runs every benchmark of a (release) build and prints one table: each figure beside its limit, the
# ratio between them and the ratio the figure must stay under. Benchmarks are not tests: nothing
# fails here, the table is for reading.
#
#   bench/run-all.sh [BUILD_DIR]      (default build-release; ./build.sh bench builds it first)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-release}
BIN=$BUILD/bin
export QT_QPA_PLATFORM=offscreen

BENCHMARKS=(bench_bank bench_history bench_gauge bench_pictures bench_picture_questions bench_app bench_startup bench_reader_memory bench_check bench_check_memory bench_convert bench_progresswindow)
RESULTS=$(mktemp)
trap 'rm -f "$RESULTS"' EXIT

for bench in "${BENCHMARKS[@]}"; do
    if [ ! -x "$BIN/$bench" ]; then
        echo "missing $BIN/$bench: build $BUILD first" >&2
        exit 1
    fi
    echo "running $bench ..." >&2
    "$BIN/$bench" 2>/dev/null | grep '^BENCH ' >>"$RESULTS" || true
done

printf '\n%-44s %12s %12s %7s %7s  %s\n' "figure" "value" "limit" "ratio" "target" ""
printf '%.0s-' {1..92}
printf '\n'
while read -r _ name value limit ratio target; do
    verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t) ? "ok" : "OVER" }')
    printf '%-44s %12s %12s %7s %7s  %s\n' "$name" "$value" "$limit" "$ratio" "$target" "$verdict"
done <"$RESULTS"
