#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Sonolabe and runs every test.
#   ./test.sh          the suite in a debug build
#   ./test.sh --quick  the same without the tests labelled "packaging" (the
#                      installation and its icons, the Debian package built
#                      and run): the fast loop while editing
#   ./test.sh --all    also the suite under AddressSanitizer and
#                      UndefinedBehaviorSanitizer, and a short fuzzing run
#                      (what CI runs)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/scripts/deps.sh"

all=false
ctest_selection=()
case "${1:-}" in
    --all) all=true ;;
    --quick) ctest_selection=(-LE packaging) ;;
    '') ;;
    *) sonolabe_die "usage: ./test.sh [--quick | --all]" ;;
esac

# libburn-dev: the burn test; ffmpeg: the audio files of the tag tests; qt6-base-private-dev: the editor test's stand-in input
# method; xvfb and xauth: the tests on a private X display; the rest: a real input
# method (fcitx5 with mozc).
packages=("${SONOLABE_BUILD_PACKAGES[@]}" desktop-file-utils appstream mandoc dpkg-dev librsvg2-bin
          lintian cdrskin cdrdao cuetools ffmpeg libburn-dev qt6-base-private-dev qt6-qpa-plugins xvfb
          xauth xdotool dbus-daemon dbus-bin fcitx5 fcitx5-mozc fcitx5-frontend-qt6)
$all && packages+=(clang libclang-rt-14-dev)
sonolabe_require_packages "${packages[@]}"

jobs=$(nproc)

# suite NAME BUILD-DIR CMAKE-ARGS...: configure, build and run the tests.
suite() {
    local name=$1 build=$2
    shift 2
    printf '\n== %s ==\n' "$name"
    cmake -S "$here" -B "$build" -G Ninja -DSONOLABE_WERROR=ON "$@" >/dev/null
    # The progress lines are dropped; with pipefail the pipe fails when the
    # build does (the filter itself fails only when it passes no line).
    cmake --build "$build" -j "$jobs" | { grep -v -E '^\[[0-9]+/[0-9]+\] ' || true; } ||
        sonolabe_die "building the $name failed"
    (cd "$build" && ctest --output-on-failure -j "$jobs" "${ctest_selection[@]}")
}

suite "tests" "$here/build" -DCMAKE_BUILD_TYPE=Debug

if $all; then
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
    suite "tests under sanitizers" "$here/build-asan" -DCMAKE_BUILD_TYPE=Debug \
        -DSONOLABE_SANITIZE=ON
    if [ -x "$here/fuzz.sh" ]; then
        printf '\n== fuzzing ==\n'
        "$here/fuzz.sh" "${SONOLABE_FUZZ_SECONDS:-60}"
    fi
fi
