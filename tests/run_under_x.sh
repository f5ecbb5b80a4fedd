#!/bin/sh
# Runs a test program on its own virtual X display with a window manager, so
# that what the desktop sees of the program's windows can be read off the
# display. Exits 77 (skipped) when the tools are missing.
#
#   run_under_x.sh <test program> [arguments]
for tool in xvfb-run xauth Xvfb openbox xprop; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is missing (install xvfb, xauth, openbox and x11-utils)"
        exit 77
    fi
done
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    log=$(mktemp)
    # Waits until the window manager has announced itself on the display,
    # starting it again if it ended (a loaded machine can be slow to start it).
    attempt=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        if [ -z "$wm" ] || ! kill -0 "$wm" 2>/dev/null; then
            attempt=$((attempt + 1))
            if [ $attempt -gt 3 ]; then
                echo "the window manager did not start:" >&2
                cat "$log" >&2
                exit 1
            fi
            openbox --sm-disable >>"$log" 2>&1 &
            wm=$!
            waited=0
        fi
        waited=$((waited + 1))
        if [ $waited -gt 300 ]; then
            kill "$wm" 2>/dev/null
            wait "$wm" 2>/dev/null
        fi
        sleep 0.1
    done
    QT_QPA_PLATFORM=xcb "$@"
    status=$?
    kill "$wm" 2>/dev/null
    rm -f "$log"
    exit $status
' run_under_x "$@"
