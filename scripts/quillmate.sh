#!/usr/bin/env bash
# Builds Quillmate and starts it or runs its tests. Installs the Debian packages
# the build needs when they are missing; safe to run again (nothing is
# reinstalled, and the build only recompiles what changed).
#
#   scripts/quillmate.sh start   build, install into a private folder of this
#                                checkout (build/start) and start the organiser
#                                from there: like any installed copy it keeps
#                                your data in ~/.local/share/Quillmate, so
#                                cleaning the build never touches it
#   scripts/quillmate.sh test    build, then run every test
#   scripts/quillmate.sh asan    build with AddressSanitizer + UBSan and run every test
#   scripts/quillmate.sh package build, then make the Debian package, install it,
#                                start it and remove it (scripts/check-package.sh)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
          fonts-dejavu-core libical-dev tzdata qtkeychain-qt6-dev)
# The tests that read what the desktop sees of the windows run on a virtual X
# display with a small window manager; the printing tests read the PDF they
# print with pdftotext; the desktop entry and the AppStream file are checked by
# their validators; exported calendars and address books are read back by
# independent iCalendar and vCard readers; sync is tested against a real
# CalDAV/CardDAV server started on 127.0.0.1, with a certificate made by openssl.
test_packages=(xvfb xauth openbox x11-utils poppler-utils desktop-file-utils appstream
               python3-icalendar python3-vobject radicale openssl)

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

# Installs the release build into a prefix of its own. An installed copy (its
# desktop entry beside its bin folder) keeps its data in the per-user folder,
# not beside the program. cmake --install rewrites the build's install
# manifest, which is what removes a real install (see the README): the one
# there is kept.
install_private() {
    local prefix=$1
    local manifest=build/release/install_manifest.txt kept=""
    if [ -f "$manifest" ]; then
        kept=$(mktemp)
        cp "$manifest" "$kept"
    fi
    local status=0
    cmake --install build/release --prefix "$prefix" >/dev/null || status=$?
    if [ -n "$kept" ]; then
        mv "$kept" "$manifest"
    else
        rm -f "$manifest"
    fi
    return $status
}

# Earlier, "start" ran the build's own copy, whose data folder was the build
# folder. Those records move to the per-user folder once, while that holds
# none of the program's files; the build's copy then finds no data of its own.
move_old_records() {
    local old=$1 data=$2
    local records=()
    local file
    for file in "$old"/*.Qmt; do
        [ -f "$file" ] && records+=("$file")
    done
    [ ${#records[@]} -eq 0 ] && return 0
    if compgen -G "$data/*.Qmt" >/dev/null; then
        echo "Note: $old still holds records from an earlier start (${records[*]##*/})."
        echo "They were not moved, because $data already holds your records."
        return 0
    fi
    local lock=$old/Quillmate.lock pid
    if [ -f "$lock" ]; then
        pid=$(head -n 1 "$lock")
        if [[ $pid =~ ^[0-9]+$ ]] && kill -0 "$pid" 2>/dev/null; then
            echo "Quillmate is still running from $old (process $pid): close it, then run" \
                "$0 start again, so its records can move to $data." >&2
            exit 1
        fi
    fi
    mkdir -p -m 0700 "$data"
    mv -n "${records[@]}" "$data/"
    echo "Moved your records (${records[*]##*/}) from the build folder $old to $data,"
    echo "where Quillmate keeps them from now on."
}

case "${1:-}" in
start)
    install_missing "${packages[@]}"
    build release
    prefix=$root/build/start
    install_private "$prefix"
    move_old_records "$root/build/release/src/app" "${XDG_DATA_HOME:-$HOME/.local/share}/Quillmate"
    exec "$prefix/bin/quillmate"
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
