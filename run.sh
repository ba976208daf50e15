#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Sonolabe and starts it on the given files.
#   ./run.sh [FILE...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/scripts/deps.sh"
sonolabe_require_packages "${SONOLABE_BUILD_PACKAGES[@]}"

build="$here/build-release"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DSONOLABE_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target sonolabe | grep -v -E '^\[[0-9]+/[0-9]+\]' || true
[ -x "$build/sonolabe" ] || sonolabe_die "the build failed"
exec "$build/sonolabe" "$@"
