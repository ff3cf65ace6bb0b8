#!/usr/bin/env bash
# Sets up a Debian/Ubuntu machine for Zdawnik, builds it and runs it.
#
#   ./build.sh run     install what is missing, build, start the program on the sample bank
#   ./build.sh test    install what is missing, build, run the whole test suite
#   ./build.sh bench   install what is missing, build in release mode, run every benchmark
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
    # tool chain
    cmake ninja-build g++ pkg-config clang libclang-rt-14-dev
    # libraries
    qt6-base-dev qt6-svg-dev libgl-dev nlohmann-json3-dev
    libjpeg62-turbo-dev libpng-dev zlib1g-dev
    libwmf-dev libemf2svg-dev libuemf-dev
    # fonts the window and the metafile renderer need at run time
    fonts-dejavu-core fonts-liberation2 fonts-urw-base35 fontconfig
    # checks of the desktop files, and screenshots
    desktop-file-utils appstream xvfb xauth
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

configure_and_build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}

case "${1:-}" in
run)
    install_missing
    configure_and_build build
    exec build/bin/zdawnik
    ;;
test)
    install_missing
    configure_and_build build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)"
    ;;
bench)
    install_missing
    configure_and_build build-release -DCMAKE_BUILD_TYPE=Release -DZDAWNIK_BUILD_TESTS=OFF
    bench/run-all.sh build-release
    ;;
*)
    sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
