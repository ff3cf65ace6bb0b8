#!/usr/bin/env bash
# Sets up a Debian/Ubuntu machine for Zdawnik, builds it and runs it.
#
#   ./build.sh run     install what is missing, build, start the program on the sample bank
#   ./build.sh test    install what is missing, build, run the whole test suite in the plain build and
#                      under the sanitizers, and fuzz each fuzz target for a short while
#   ./build.sh bench   install what is missing, build in release mode, run every benchmark
#   ./build.sh package install what is missing, build, make the Debian package in build/
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    # tool chain
    cmake ninja-build g++ pkg-config clang libclang-rt-14-dev ccache
    # libraries
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev nlohmann-json3-dev libsqlite3-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    libwmf-dev libemf2svg-dev libuemf-dev
    libcsv-dev
    # Qt's own dialogs and buttons in Polish
    qt6-translations-l10n
    # fonts the window and the metafile renderer need at run time
    fonts-dejavu-core fonts-liberation2 fonts-urw-base35 fontconfig
    # checks of the desktop files, and screenshots
    desktop-file-utils appstream groff-base xvfb xauth
    # the Debian package: its dependencies found, and its check
    dpkg-dev lintian
    # the accessibility bus, and the screen reader's view of it that a test reads
    at-spi2-core python3-pyatspi dbus
)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# A compiler cache turns a rebuild of sources compiled once before, in this clone or in another one
# of the same project, into seconds. Paths are taken relative to the clone, so that clones in
# different folders share what was compiled.
use_compiler_cache() {
    command -v ccache >/dev/null || return 0
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
}

# Configures and builds one of the presets of CMakePresets.json.
configure_and_build() {
    cmake --preset "$1"
    cmake --build --preset "$1"
}

# Runs a stage of the test run and says how long it took, so a slow CI run shows where the time went.
STAGE_TIMES=()
stage() {
    local name=$1; shift
    local start=$SECONDS
    echo "=== $name"
    "$@"
    STAGE_TIMES+=("$(printf '%4d s  %s' $((SECONDS - start)) "$name")")
}

# The optimised build makes what ships and the benchmarks, and runs the tests of the program as it
# ships (installed, archived, packaged, read by a screen reader); the build under AddressSanitizer and
# UndefinedBehaviorSanitizer runs every test; then every fuzz target runs for a short while from its
# seeds. Compiling every test twice would double the time for little: the sanitizers see more.
run_tests() {
    stage "plain configure" cmake --preset default
    stage "plain build" cmake --build --preset shipped
    stage "plain tests" ctest --preset shipped -j"$(nproc)"
    stage "asan build" configure_and_build asan
    stage "asan tests" ctest --preset asan -j"$(nproc)"
    stage "fuzz build" configure_and_build fuzz
    stage "fuzzing" fuzz/run.sh -t "${ZDAWNIK_FUZZ_SECONDS:-15}"
    printf '%s\n' "${STAGE_TIMES[@]}"
}

case "${1:-}" in
run)
    install_missing
    use_compiler_cache
    # The program and its helper only; the tests and benchmarks of the same build are left for "test".
    cmake --preset default
    cmake --build --preset program
    exec build/bin/zdawnik
    ;;
test)
    install_missing
    use_compiler_cache
    run_tests
    ;;
bench)
    install_missing
    use_compiler_cache
    configure_and_build release
    bench/run-all.sh build-release
    ;;
package)
    install_missing
    use_compiler_cache
    cmake --preset default
    # What the package installs; the tests of the same build are left for "test".
    cmake --build build --target zdawnik zdawnik-metafile zdawnik-check zdawnik-convert
    (cd build && cpack -G DEB)
    ls build/zdawnik_*.deb
    ;;
*)
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
