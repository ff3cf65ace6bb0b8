#!/usr/bin/env bash
# Runs the fuzz targets built by the "fuzz" preset.
#
#   fuzz/run.sh [-t SECONDS] [-b BUILD_DIR] [TARGET...]   fuzz each target (the nine reader, loader
#                                                          and checker targets by default)
#                                                          for SECONDS (default 15)
#   fuzz/run.sh -m TARGET                                  merge what the last runs of TARGET found
#                                                          into its seed corpus, keeping only inputs
#                                                          that add coverage
#
# Each run starts from the seeds in fuzz/corpus/TARGET (a renderer target: those of its format) and
# keeps what it finds in BUILD_DIR/fuzz-runs/TARGET/corpus, so the seeds change only by an explicit
# merge. A crash, leak, sanitizer report, timeout (20 s on one input) or memory overrun (2 GB) fails
# the run, and the input is kept in BUILD_DIR/fuzz-runs/TARGET/artifacts. Metafile inputs that crash
# or hang the zdawnik-metafile helper do not fail it (the loader contains them by design); they are
# kept in BUILD_DIR/fuzz-runs/TARGET/helper, with the helper's sanitizer reports, and counted in the
# summary.
set -euo pipefail
cd "$(dirname "$0")/.."

# The renderer targets (fuzz_emf_render, fuzz_wmf_render) run only when named: see fuzz/README.md.
TARGETS=(fuzz_reader fuzz_progress fuzz_check fuzz_bmp fuzz_ico fuzz_emf fuzz_wmf fuzz_png fuzz_jpg
         fuzz_convert_moodle fuzz_convert_gift fuzz_convert_aiken fuzz_convert_csv)
seconds=15
build=build-fuzz
merge=

while getopts "t:b:m:" option; do
    case $option in
    t) seconds=$OPTARG ;;
    b) build=$OPTARG ;;
    m) merge=$OPTARG ;;
    *) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] && TARGETS=("$@")

# The renderer targets share the seeds and dictionary of their format's loader target.
format_target() {
    echo "${1%_render}"
}

seeds() {
    echo "fuzz/corpus/$(format_target "$1")"
}

dictionary() {
    case $1 in
    fuzz_reader | fuzz_check) echo fuzz/dict/question.dict ;;
    fuzz_progress) echo fuzz/dict/progress.dict ;;
    fuzz_jpg) echo fuzz/dict/jpeg.dict ;;
    *) target=$(format_target "$1"); echo "fuzz/dict/${target#fuzz_}.dict" ;;
    esac
}

# Fontconfig keeps what it learns of each font family asked for until the process ends; the
# renderer targets ask for whatever family a mutated metafile names.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan-suppressions.txt:print_suppressions=0"
# The sanitizer runtime of this tool chain can take a block of dynamic thread-local storage for an old
# glibc layout and read a false range from it, so a leak check dies in its tracer on a clean input.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_tls_get_addr=0"

if [ -n "$merge" ]; then
    work=$build/fuzz-runs/$merge
    [ -d "$work/corpus" ] || { echo "nothing found by $merge yet in $work/corpus"; exit 1; }
    "$build/bin/$merge" -merge=1 -timeout=20 -rss_limit_mb=2048 -dict="$(dictionary "$merge")" \
        "$(seeds "$merge")" "$work/corpus"
    exit 0
fi

failed=()
for target in "${TARGETS[@]}"; do
    binary=$build/bin/$target
    [ -x "$binary" ] || { echo "$binary is missing: build the \"fuzz\" preset first"; exit 2; }
    work=$build/fuzz-runs/$target
    mkdir -p "$work/corpus" "$work/artifacts"
    rm -rf "$work/helper"
    log=$work/log.txt
    # The picture decoders (Qt, libpng, libjpeg, the metafile libraries in the helper) are not
    # instrumented: to libFuzzer a seed that reaches their corners looks like one that does not, and
    # it would drop most seeds and shrink the rest. They are all kept whole and mutated.
    keep=()
    case $target in fuzz_reader | fuzz_progress | fuzz_check) ;; *) keep=(-keep_seed=1) ;; esac
    status=0
    ZDAWNIK_FUZZ_HELPER_CRASHES=$PWD/$work/helper "$binary" \
        -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 "${keep[@]}" \
        -dict="$(dictionary "$target")" -artifact_prefix="$work/artifacts/" \
        "$work/corpus" "$(seeds "$target")" >"$log" 2>&1 || status=$?
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
    helper=0
    [ -d "$work/helper" ] && helper=$(find "$work/helper" -type f ! -name 'helper.*' | wc -l)
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        echo "FAILED $target (exit $status); the log follows"
        tail -n 60 "$log"
    else
        echo "ok     $target: ${done_line:-no summary}; helper failures kept: $helper"
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzzing failed: ${failed[*]}"
    exit 1
fi
