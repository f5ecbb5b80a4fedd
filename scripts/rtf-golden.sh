#!/usr/bin/env bash
# Expectations for the RTF reader's tests, as LibreOffice reads the same files.
#
#   scripts/rtf-golden.sh                      writes tests/data/rtf/X.expected for every X.rtf
#   scripts/rtf-golden.sh --check-writer DIR   reads DIR/X.rtf (written by tst_rtf with
#                                              QM_RTF_WRITER_OUT=DIR) and compares what
#                                              LibreOffice sees with DIR/X.expected
#
# Needs soffice (libreoffice-writer-nogui) and python3; the test suite itself
# does not. The line format is described in scripts/rtf_golden.py.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
converter="$root/scripts/rtf_golden.py"
command -v soffice >/dev/null || { echo "soffice not found (install libreoffice-writer-nogui)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A private profile, so a running office or the user's settings play no part.
to_fodt() { # DIR FILES...
    local out=$1
    shift
    soffice -env:UserInstallation="file://$work/profile" --headless --convert-to fodt \
        --outdir "$out" "$@" >"$work/soffice.log" 2>&1 || { cat "$work/soffice.log" >&2; exit 1; }
}

if [ "${1:-}" = "--check-writer" ]; then
    dir=${2:?usage: $0 --check-writer DIR}
    shopt -s nullglob
    files=("$dir"/*.rtf)
    [ ${#files[@]} -gt 0 ] || { echo "no .rtf files in $dir" >&2; exit 2; }
    to_fodt "$work/fodt" "${files[@]}"
    good=0
    bad=0
    for rtf in "${files[@]}"; do
        name=$(basename "$rtf" .rtf)
        if [ -f "$work/fodt/$name.fodt" ]; then
            python3 "$converter" "$work/fodt/$name.fodt" >"$work/$name.seen"
        else
            echo "LibreOffice cannot read $name.rtf" >"$work/$name.seen"
        fi
        if diff -u --label "$name (meant)" --label "$name (LibreOffice)" \
            <(grep -v '^#' "$dir/$name.expected") "$work/$name.seen"; then
            good=$((good + 1))
        else
            bad=$((bad + 1))
        fi
    done
    echo "writer check: $good of $((good + bad)) files read by LibreOffice as meant"
    [ "$bad" -eq 0 ]
    exit
fi

data="$root/tests/data/rtf"
files=("$data"/*.rtf)
to_fodt "$work/fodt" "${files[@]}"
status=0
for rtf in "${files[@]}"; do
    name=$(basename "$rtf" .rtf)
    if [ ! -f "$work/fodt/$name.fodt" ]; then
        # Files LibreOffice refuses (truncated ones) have expectations written
        # by hand, starting "# by hand"; those are kept.
        if ! head -n 1 "$data/$name.expected" 2>/dev/null | grep -q '^# by hand'; then
            echo "LibreOffice cannot read $name.rtf and it has no expectation by hand" >&2
            status=1
        fi
        continue
    fi
    python3 "$converter" "$work/fodt/$name.fodt" \
        "# $name.rtf as LibreOffice reads it (scripts/rtf-golden.sh)" >"$data/$name.expected"
done
echo "expectations written for the files in tests/data/rtf"
exit $status
