#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each of them for a while.
#
#   ./fuzz.sh [SECONDS [TARGET...]]             every target (or the ones
#                                                named) for SECONDS (default 60)
#   ./fuzz.sh --coverage [SECONDS [TARGET...]]  the same, then the line
#                                                coverage of the model and the
#                                                sheet rewriters reached by
#                                                the corpus
#
# Each target starts from its seed corpus in fuzz/corpus/<target>/; what it
# finds is kept in build-fuzz/corpus/<target>/, never in the repository. Any
# finding (crash, failed property, leak, timeout, memory blow-up) fails the
# run; its input is saved in build-fuzz/findings/. Add it to
# fuzz/corpus/<target>/ once fixed, so that the unit tests keep checking it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/scripts/deps.sh"

coverage=false
if [ "${1:-}" = "--coverage" ]; then
    coverage=true
    shift
fi
usage="usage: ./fuzz.sh [--coverage] [SECONDS [TARGET...]]"
seconds=${1:-60}
case $seconds in
    '' | *[!0-9]*) sonolabe_die "$usage" ;;
esac
if [ $# -gt 0 ]; then shift; fi

packages=("${SONOLABE_BUILD_PACKAGES[@]}" clang libclang-rt-14-dev)
$coverage && packages+=(llvm)
sonolabe_require_packages "${packages[@]}"

build=$here/build-fuzz
# The targets, in the order of the table Targets in fuzz/fuzzchecks.h, the
# one list of them (the build reads it too).
mapfile -t targets < <(sed -n 's/^ *{"\([a-z0-9_]*\)", check[A-Za-z0-9]*},$/\1/p' \
    "$here/fuzz/fuzzchecks.h")
[ ${#targets[@]} -gt 0 ] || sonolabe_die "no fuzz targets found in fuzz/fuzzchecks.h"
if [ $# -gt 0 ]; then
    for target in "$@"; do
        case " ${targets[*]} " in
            *" $target "*) ;;
            *) sonolabe_die "no fuzz target $target; $usage" ;;
        esac
    done
    targets=("$@")
fi

dictionary() {
    case $1 in
        titlefile_parse) echo "-dict=$here/fuzz/titlefile.dict" ;;
        cuesheet_rewrite) echo "-dict=$here/fuzz/cuesheet.dict" ;;
        tocfile_rewrite) echo "-dict=$here/fuzz/tocfile.dict" ;;
    esac
}

configure() {
    local dir=$1
    shift
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
        -DSONOLABE_BUILD_FUZZ=ON -DSONOLABE_BUILD_TESTS=OFF -DSONOLABE_WERROR=ON "$@" >/dev/null
    cmake --build "$dir" --target sonolabe_fuzz -j "$(nproc)" >"$dir/build.log" 2>&1 || {
        cat "$dir/build.log" >&2
        sonolabe_die "building the fuzz targets failed"
    }
}

mkdir -p "$build"
configure "$build"
mkdir -p "$build/findings"

failed=()
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    cp "$here/fuzz/corpus/$target/"* "$corpus/"
    log=$build/findings/$target.log
    # -timeout: one input taking longer is a hang; -rss_limit_mb and
    # -malloc_limit_mb: an input must not exhaust memory.
    set +e
    # shellcheck disable=SC2046
    "$build/fuzz/fuzz_$target" "$corpus" $(dictionary "$target") \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -malloc_limit_mb=1024 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" >"$log" 2>&1
    status=$?
    set -e
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    files=$(find "$corpus" -type f | wc -l)
    if [ "$status" -eq 0 ]; then
        printf '%-22s %10s executions (%s/s), corpus %s files\n' \
            "$target" "${executions:-?}" "${rate:-?}" "$files"
    else
        printf '%-22s FAILED (exit %s), see %s\n' "$target" "$status" "$log" >&2
        grep -E '^(==[0-9]+==ERROR|SUMMARY|property failed|.*runtime error)' "$log" | head -n 5 >&2 || true
        grep -E '^artifact_prefix|Test unit written to' "$log" | tail -n 1 >&2 || true
        failed+=("$target")
    fi
done

if $coverage; then
    # The corpus once more through targets built for coverage, not fuzzing.
    cov=$build/coverage
    configure "$cov" -DSONOLABE_FUZZ_COVERAGE=ON
    profiles=()
    for target in "${targets[@]}"; do
        LLVM_PROFILE_FILE="$cov/$target.profraw" "$cov/fuzz/fuzz_$target" -runs=0 \
            "$build/corpus/$target" >"$cov/$target.log" 2>&1
        profiles+=("$cov/$target.profraw")
    done
    llvm-profdata merge -sparse "${profiles[@]}" -o "$cov/all.profdata"
    objects=()
    for target in "${targets[@]}"; do
        objects+=(-object "$cov/fuzz/fuzz_$target")
    done
    printf '\nCoverage of the model and the sheet rewriters by the corpus:\n'
    llvm-cov report "${objects[@]:1}" -instr-profile="$cov/all.profdata" \
        "$here/model" "$here/cdtext/cuesheet.cpp" \
        "$here/cdtext/tocfile.cpp" |
        sed "s|$here/||"
    printf '\nThe reader and the writer of title files, function by function:\n'
    llvm-cov report "${objects[@]:1}" -instr-profile="$cov/all.profdata" -show-functions \
        -Xdemangler c++filt "$here/model/titlefile.cpp" |
        grep -E '^Name|parseTitleFile|Parser|digitValue|writeTitleFile|writeSection|sectionCapacity' |
        sed -E 's/\(anonymous namespace\):://; s/sonolabe:://g'
fi

if [ ${#failed[@]} -ne 0 ]; then
    sonolabe_die "fuzzing found faults in: ${failed[*]}"
fi
