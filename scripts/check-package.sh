#!/usr/bin/env bash
# Makes the Debian package from a build folder and tries it as a user would:
# installs it, starts the program the way the desktop's menu does, checks that
# it keeps its data in the user's own data folder and writes nothing beside
# its executable (even run by root, who could write there), then removes the
# package and checks that its files went with it. Needs root or sudo, cpack,
# dpkg and xvfb-run; exits non-zero with the reason on the first failure.
#
#   scripts/check-package.sh <build folder>
set -euo pipefail

fail() {
    echo "check-package: FAIL: $*" >&2
    exit 1
}
say() {
    echo "check-package: $*"
}

if [ $# -ne 1 ] || [ ! -f "$1/CPackConfig.cmake" ]; then
    echo "usage: $0 <configured build folder>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
for tool in cpack dpkg dpkg-deb xvfb-run; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing"
done
installed() {
    dpkg-query -W -f='${Status}' quillmate 2>/dev/null | grep -q ' installed$'
}
# Removing it at the end would take away a copy someone uses.
installed && fail "quillmate is installed already; remove it first (dpkg -r quillmate)"

work=$(mktemp -d)
manifest=$build/install_manifest.txt
kept=""
if [ -f "$manifest" ]; then
    kept=$work/install_manifest.txt
    cp "$manifest" "$kept"
fi
program_pid=""
we_installed=""
clean_up() {
    if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
        kill -9 "$program_pid" 2>/dev/null || true
    fi
    if [ -n "$we_installed" ] && installed; then
        $sudo dpkg -r quillmate >/dev/null 2>&1 || true
    fi
    # cpack rewrites the build's install manifest; the one a real install left
    # there is what its user removes the program by.
    if [ -n "$kept" ]; then
        cp "$kept" "$manifest"
    else
        rm -f "$manifest"
    fi
    rm -rf "$work"
}
trap clean_up EXIT

say "making the package"
if ! (cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB failed in $build"
fi
debs=("$work"/package/quillmate_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no quillmate_*.deb"
deb=${debs[0]}
dpkg-deb -f "$deb" Package Version Architecture Depends

say "installing $(basename "$deb")"
$sudo dpkg -i "$deb" || fail "dpkg -i $(basename "$deb") failed"
we_installed=1

# Exactly the program, its desktop entry, icons and AppStream file.
mapfile -t files < <(dpkg -L quillmate | while read -r path; do
    [ -d "$path" ] || echo "$path"
done | sort)
entry=""
for path in "${files[@]}"; do
    case $path in /usr/share/applications/*.desktop) entry=$path ;; esac
done
[ -n "$entry" ] || fail "the package has no desktop entry"
id=$(basename "$entry" .desktop)
expected=$(printf '%s\n' /usr/bin/quillmate "/usr/share/applications/$id.desktop" \
    "/usr/share/metainfo/$id.metainfo.xml" /usr/share/icons/hicolor/scalable/apps/quillmate.svg \
    /usr/share/icons/hicolor/48x48/apps/quillmate.png \
    /usr/share/icons/hicolor/256x256/apps/quillmate.png | sort)
if [ "$(printf '%s\n' "${files[@]}")" != "$expected" ]; then
    echo "expected:" >&2
    echo "$expected" >&2
    fail "dpkg -L quillmate lists other files: ${files[*]}"
fi
for path in "${files[@]}"; do
    [ -f "$path" ] || fail "$path is listed but not installed"
done

# The menu runs the entry's Exec line, its field codes dropped, with the
# program looked up on the PATH.
exec_line=$(sed -n 's/^Exec=//p' "$entry" | head -n 1 | sed 's/ *%[fFuUdDnNickvm]//g')
[ -n "$exec_line" ] || fail "$entry has no Exec line"
program=$(command -v "${exec_line%% *}") || fail "'${exec_line%% *}' is not on the PATH"
program_folder=$(dirname "$program")
# What the program would leave beside itself: its data files, its lock and
# the probe by which it tries the folder.
own_files() {
    find "$program_folder" -maxdepth 1 \( -name '*.Qmt*' -o -name 'Quillmate.lock*' \
        -o -name 'qm-write-probe*' \) | sort
}
leftovers=$(own_files)
[ -z "$leftovers" ] ||
    fail "files of the program are beside $program already (left by an earlier run?): ${leftovers//$'\n'/ }"
listing_before=$work/listing
ls -A "$program_folder" | sort >"$listing_before"
# Files that appeared beside the executable since it started and that no
# package owns: what the program wrote there.
written_beside() {
    comm -13 "$listing_before" <(ls -A "$program_folder" | sort) | while read -r name; do
        dpkg -S "$program_folder/$name" >/dev/null 2>&1 || echo "$program_folder/$name"
    done
}
wrote_beside() {
    # Stopped first, so that it adds nothing after the files are removed:
    # made by this run, they would make the next one find data there.
    [ -n "$program_pid" ] || program_pid=$(cat "$work/program.pid" 2>/dev/null || true)
    [ -z "$program_pid" ] || kill -9 "$program_pid" 2>/dev/null || true
    wait "$runner" 2>/dev/null || true
    local strays
    strays=$(written_beside)
    # shellcheck disable=SC2086 # one file a word
    $sudo rm -f $strays
    fail "the program wrote beside its executable: ${strays//$'\n'/ }"
}

home=$work/home
mkdir -p "$home/config" "$home/data" "$home/runtime" "$work/current"
chmod 700 "$home/runtime"
data=$home/data/Quillmate
say "starting '$exec_line' as the menu would"
(
    cd "$work/current"
    export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data \
        XDG_RUNTIME_DIR=$home/runtime
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    # The shell records its process id and becomes the program.
    exec xvfb-run -a -s "-screen 0 1024x768x24" \
        sh -c 'echo $$ >"$0"; exec '"$exec_line" "$work/program.pid"
) >"$work/program.log" 2>&1 &
runner=$!

# The program writes its housekeeping files into its data folder at start-up.
housekeeping=(NextKey.Qmt DateLog.Qmt Colours.Qmt)
started=""
for _ in $(seq 300); do
    [ -z "$program_pid" ] && [ -s "$work/program.pid" ] && program_pid=$(cat "$work/program.pid")
    all=1
    for name in "${housekeeping[@]}"; do
        [ -f "$data/$name" ] || all=""
    done
    if [ -n "$all" ]; then
        started=1
        break
    fi
    [ -z "$(written_beside)" ] || wrote_beside
    if ! kill -0 "$runner" 2>/dev/null; then
        cat "$work/program.log" >&2
        fail "the program ended before writing ${housekeeping[*]} into $data"
    fi
    sleep 0.1
done
if [ -z "$started" ]; then
    cat "$work/program.log" >&2
    fail "no ${housekeeping[*]} in $data after 30 seconds (found: $(ls -A "$data" 2>/dev/null))"
fi
[ -n "$program_pid" ] || program_pid=$(cat "$work/program.pid")
say "the program keeps its data in $data: $(ls "$data" | tr '\n' ' ')"

[ -z "$(written_beside)" ] || wrote_beside
[ -z "$(ls -A "$work/current")" ] || fail "the program wrote into the current folder: $(ls -A "$work/current")"

kill "$program_pid"
for _ in $(seq 100); do
    kill -0 "$runner" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$runner" 2>/dev/null && fail "the program did not end when told to"
wait "$runner" || true
program_pid=""

say "removing the package"
$sudo dpkg -r quillmate || fail "dpkg -r quillmate failed"
installed && fail "quillmate is still installed after dpkg -r"
for path in "${files[@]}"; do
    [ ! -e "$path" ] || fail "$path is still there after dpkg -r quillmate"
done
say "OK: the package installs, runs from the menu's command with its data in the user's folder, and removes cleanly"
