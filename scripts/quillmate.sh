#!/usr/bin/env bash
# Builds Quillmate and starts it or runs its tests. Installs the Debian packages
# the build needs when they are missing; safe to run again (nothing is
# reinstalled, and the build only recompiles what changed).
#
#   scripts/quillmate.sh start   build, then start the organiser
#   scripts/quillmate.sh test    build, then run every test
#   scripts/quillmate.sh asan    build with AddressSanitizer + UBSan and run every test
#   scripts/quillmate.sh package build, then make the Debian package, install it,
#                                start it and remove it (scripts/check-package.sh)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core)
# The tests that read what the desktop sees of the windows run on a virtual X
# display with a small window manager; the printing tests read the PDF they
# print with pdftotext; the desktop entry and the AppStream file are checked by
# their validators.
test_packages=(xvfb xauth openbox x11-utils poppler-utils desktop-file-utils appstream)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    local preset=$1
    local extra=()
    # In CI every warning is an error.
    [ "${CI:-}" = "true" ] && extra+=(-DQM_WARNINGS_AS_ERRORS=ON)
    if [ ! -f "build/$preset/build.ninja" ] || [ ${#extra[@]} -gt 0 ]; then
        cmake --preset "$preset" "${extra[@]}" >/dev/null
    fi
    cmake --build --preset "$preset"
}

run_tests() {
    local preset=$1
    ctest --preset "$preset" -j "$(nproc)"
}

case "${1:-}" in
start)
    install_missing "${packages[@]}"
    build release
    exec build/release/src/app/quillmate
    ;;
test)
    install_missing "${packages[@]}" "${test_packages[@]}"
    build release
    run_tests release
    ;;
asan)
    install_missing "${packages[@]}" "${test_packages[@]}"
    build asan
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
    run_tests asan
    ;;
package)
    install_missing "${packages[@]}" "${test_packages[@]}"
    build release
    scripts/check-package.sh build/release
    ;;
*)
    echo "usage: $0 start|test|asan|package" >&2
    exit 2
    ;;
esac
