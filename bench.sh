#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Sonolabe in Release and prints the benchmark table: each figure with
# the floor it is measured against in the same run, the ratio and the target.
#   ./bench.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/scripts/deps.sh"
sonolabe_require_packages "${SONOLABE_BUILD_PACKAGES[@]}"

build="$here/build-bench"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONOLABE_BUILD_BENCH=ON \
    -DSONOLABE_BUILD_TESTS=OFF -DSONOLABE_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

export QT_QPA_PLATFORM=offscreen
results=$(mktemp)
trap 'rm -f "$results"' EXIT
for program in "$build"/bench/bench_*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    "$program" | grep '^ROW' >>"$results"
done

printf 'Sonolabe benchmarks on %s (%s cores), %s\n\n' "$(uname -m)" "$(nproc)" "$(date -u +%F)"
{
    printf 'What\tFigure\tFloor\tRatio\tTarget\tHolds\n'
    cut -f2- "$results"
} | column -t -s $'\t'
if grep -q $'\tNO$' "$results"; then
    printf '\nSome targets do not hold.\n'
fi
