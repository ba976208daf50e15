#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes docs/screenshot-editor.png, the editor window on a twelve-track disc,
# from the real program on a virtual X screen. Run it after the editor window
# changes, then commit the picture:
#
#   docs/make-screenshot.sh [BUILD-DIR]      (default: build-pack)
#
# Needs xvfb (xvfb-run), x11-utils (xwininfo) and imagemagick (import), and
# the IPA Gothic font (fonts-ipafont-gothic) that the windows fall back to.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
build=$(cd "${1:-$repo/build-pack}" && pwd)
export SONOLABE_PROGRAM=$build/sonolabe
export SONOLABE_TITLE_FILE=$repo/tests/packaging/summer-12-tracks.txt
export SONOLABE_SCREENSHOT=$here/screenshot-editor.png
[ -x "$SONOLABE_PROGRAM" ] || { echo "no program at $SONOLABE_PROGRAM: build it first" >&2; exit 1; }

# shellcheck disable=SC2016  # expanded by the inner shell
xvfb-run -a -s "-screen 0 1024x768x24" bash -euo pipefail -c '
    export LC_ALL=C.UTF-8
    "$SONOLABE_PROGRAM" "$SONOLABE_TITLE_FILE" &
    program=$!
    trap "kill $program 2>/dev/null || true" EXIT
    window=
    for _ in $(seq 100); do
        window=$(xwininfo -root -tree | awk "/\"Sonolabe [0-9]+\\.[0-9]+\"/ { print \$1; exit }")
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the editor window did not appear" >&2; exit 1; }
    sleep 1 # let the window finish painting
    import -window "$window" "png:$SONOLABE_SCREENSHOT"
'
echo "wrote $SONOLABE_SCREENSHOT"
