#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks that exactly the files
# a desktop needs arrive there, that they agree with one another, and that the
# desktop entry and the AppStream file pass their validators. Exits 77
# (skipped) after the other checks when a validator is missing.
#
#   check_install.sh <cmake> <build folder>
set -euo pipefail
cmake=$1
build=$2

prefix=$(mktemp -d)
log=$(mktemp)
manifest=$build/install_manifest.txt
# cmake --install rewrites the build's install manifest; the one a real
# install left there is what its user removes the program by.
kept=""
if [ -f "$manifest" ]; then
    kept=$(mktemp)
    cp "$manifest" "$kept"
fi
restore() {
    if [ -n "$kept" ]; then
        mv "$kept" "$manifest"
    else
        rm -f "$manifest"
    fi
    rm -rf "$prefix" "$log"
}
trap restore EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$log" 2>&1; then
    cat "$log"
    echo "FAIL: cmake --install $build failed (is the whole project built?)"
    exit 1
fi

entries=("$prefix"/share/applications/*.desktop)
if [ ${#entries[@]} -ne 1 ] || [ ! -f "${entries[0]}" ]; then
    echo "FAIL: expected one desktop entry in share/applications, found: ${entries[*]}"
    exit 1
fi
id=$(basename "${entries[0]}" .desktop)

expected=$(printf '%s\n' bin/quillmate "share/applications/$id.desktop" \
    "share/metainfo/$id.metainfo.xml" share/icons/hicolor/scalable/apps/quillmate.svg \
    share/icons/hicolor/48x48/apps/quillmate.png share/icons/hicolor/256x256/apps/quillmate.png |
    sort)
installed=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
if [ "$installed" != "$expected" ]; then
    fail "the installed files differ from the expected ones (< expected, > installed):"
    diff <(echo "$expected") <(echo "$installed") || true
fi
[ -x "$prefix/bin/quillmate" ] || fail "bin/quillmate is not executable"

# A PNG's width and height are the big-endian words after its IHDR tag.
for size in 48 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/quillmate.png
    [ -f "$png" ] || continue
    read -r -a bytes <<<"$(od -An -tu1 -N24 "$png" | tr -s "\n" " ")"
    signature="${bytes[*]:0:8}"
    width=$(((bytes[16] << 24) | (bytes[17] << 16) | (bytes[18] << 8) | bytes[19]))
    height=$(((bytes[20] << 24) | (bytes[21] << 16) | (bytes[22] << 8) | bytes[23]))
    [ "$signature" = "137 80 78 71 13 10 26 10" ] || fail "$png is not a PNG"
    [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height, not $size x $size"
done

# The menu starts the installed program and shows the installed icon; the
# AppStream file names the entry it describes.
entry=${entries[0]}
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -n "$program" ] && [ -f "$prefix/bin/$program" ] ||
    fail "the desktop entry starts '$program', not bin/quillmate"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -n "$icon" ] && [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "the desktop entry shows icon '$icon', which is not installed"
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$metainfo" ]; then
    grep -q "<id>$id</id>" "$metainfo" || fail "the AppStream id is not $id"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the AppStream file does not launch $id.desktop"
fi

skipped=0
if command -v desktop-file-validate >/dev/null 2>&1; then
    desktop-file-validate "$entry" || fail "desktop-file-validate $(basename "$entry")"
else
    echo "SKIP: desktop-file-validate is missing (install desktop-file-utils)"
    skipped=1
fi
if command -v appstreamcli >/dev/null 2>&1; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate $(basename "$metainfo")"
else
    echo "SKIP: appstreamcli is missing (install appstream)"
    skipped=1
fi

[ $failures -eq 0 ] || exit 1
[ $skipped -eq 0 ] || exit 77
echo "installed and valid: ${installed//$'\n'/ }"
