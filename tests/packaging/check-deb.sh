#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack, checks its control fields and that its
# dependencies were computed from the binary, has lintian check it, unpacks
# it into a scratch root and starts the unpacked program there, offscreen, on
# two title files: each must open in an editor window of its own process and
# stay open until the test ends it.
#
#   check-deb.sh BUILD-DIR VERSION PROBE-PLUGIN-DIR TITLE-FILE APP-ID
set -euo pipefail
build=$1 version=$2 title_file=$4 app_id=$5
probe_plugins=$(cd "$3" && pwd)
export LC_ALL=C.UTF-8

failures=0
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}
die() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog objdump lintian; do
    command -v "$tool" >/dev/null || die "$tool is missing (./test.sh installs dpkg-dev and lintian)"
done

work=$(realpath "$(mktemp -d)")
program=$work/root/usr/bin/sonolabe
# The processes of the unpacked program: the one this script starts and the
# ones that it starts in turn, detached, for the further files.
unpacked_processes() {
    local proc
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/exe" 2>/dev/null)" = "$program" ] && echo "${proc#/proc/}"
    done
    return 0
}
cleanup() {
    local pid _
    for _ in $(seq 50); do
        pid=$(unpacked_processes)
        [ -z "$pid" ] && break
        # shellcheck disable=SC2086  # one pid per word
        kill $pid 2>/dev/null || true
        sleep 0.1
    done
    rm -rf "$work"
}
trap cleanup EXIT

# The package.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; die "cpack failed"; }
arch=$(dpkg --print-architecture)
deb=$work/out/sonolabe_${version}_$arch.deb
[ -f "$deb" ] || die "cpack made no sonolabe_${version}_$arch.deb: $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = sonolabe ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
[ "$(field Section)" = sound ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^@\>]+\>$ ]] || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Description | wc -l)" -ge 3 ] || fail "the Description has no long text"
dpkg-deb -I "$deb" >"$work/info"
grep -q '^ Depends: ' "$work/info" || fail "dpkg-deb -I shows no Depends"

# Debian's own checks: no error and no warning; information tags are shown.
if ! lintian --profile debian --fail-on error,warning --display-info --tag-display-limit 0 \
    "$deb" >"$work/lintian.log" 2>&1 || grep -q '^[EW]: ' "$work/lintian.log"; then
    fail "lintian refuses the package:"
    cat "$work/lintian.log" >&2
else
    grep -v '^running with root privileges' "$work/lintian.log" || true
fi

# Every library the program needs comes from a package in Depends, with the
# version that dpkg-shlibdeps computes.
dpkg-deb -x "$deb" "$work/root"
[ -x "$program" ] || die "the package holds no usr/bin/sonolabe"
depends=",$(field Depends | tr -d ' '),"
# Qt's Japanese texts for its own buttons and dialogs.
[[ "$depends" == *,qt6-translations-l10n,* ]] ||
    fail "Depends lacks qt6-translations-l10n: $(field Depends)"
needed=$(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }')
[ -n "$needed" ] || fail "objdump finds no NEEDED library in the program"
for library in $needed; do
    owner=$(dpkg -S "*/$library" 2>/dev/null | head -n 1 | cut -d: -f1)
    [ -n "$owner" ] || { fail "no installed package holds $library"; continue; }
    [[ "$depends" == *",$owner("* ]] ||
        fail "Depends lacks $owner (for $library), or without a version: $(field Depends)"
done
for file in usr/share/applications/$app_id.desktop \
    usr/share/metainfo/$app_id.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    usr/share/icons/hicolor/48x48/apps/$app_id.png \
    usr/share/man/man1/sonolabe.1.gz usr/share/man/ja/man1/sonolabe.1.gz \
    usr/bin/sonolabe-cdtext usr/share/man/man1/sonolabe-cdtext.1.gz \
    usr/share/man/ja/man1/sonolabe-cdtext.1.gz \
    usr/share/doc/sonolabe/copyright usr/share/doc/sonolabe/changelog.gz; do
    [ -f "$work/root/$file" ] || fail "the package lacks $file"
done
# The licence, and a changelog whose latest entry is this version.
doc=$work/root/usr/share/doc/sonolabe
if [ -f "$doc/copyright" ]; then
    awk '/^Files: \*$/ { f = 1 } /^$/ { f = 0 } f && $0 == "License: GPL-3.0-or-later" { ok = 1 }
         END { exit !ok }' "$doc/copyright" ||
        fail "the copyright file does not put every file under GPL-3.0-or-later"
fi
if [ -f "$doc/changelog.gz" ]; then
    gzip -dc "$doc/changelog.gz" >"$work/changelog"
    logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
    [ "$logged" = "$version" ] || fail "the changelog's latest entry is $logged, not $version"
fi

# The unpacked program on two files, one with a space in its name: this
# process opens the first and starts the installed program again for the
# second, whose name a shell would split and run parts of: it must reach the
# new process verbatim. The window probe reports what each process shows.
second_name='the "second" disc; $(touch injected) `id` * ~.txt'
mkdir "$work/titles" "$work/probe"
cp "$title_file" "$work/titles/summer 12 tracks.txt"
printf 'ja\r\n0\tSecond Disc\tSomeone\r\n1\tOnly Track\r\n\r\n' >"$work/titles/$second_name"
(
    cd "$work/titles"
    export QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$probe_plugins \
        QT_QPA_GENERIC_PLUGINS=sonolabewindowprobe SONOLABE_WINDOW_PROBE_DIR=$work/probe
    exec "$program" "summer 12 tracks.txt" "$second_name"
) &
first=$!

# report_with TEXT: the report that shows the editor window and TEXT.
report_with() {
    local report
    for report in "$work"/probe/*.txt; do
        [ -f "$report" ] &&
            grep -qE '^window [^ ]+ "Sonolabe [0-9]+\.[0-9]+"$' "$report" &&
            grep -qxF "$1" "$report" && echo "$report" && return
    done
    return 0
}
for _ in $(seq 300); do
    [ -n "$(report_with '  discNameEditJapanese 夏の記憶')" ] && [ -n "$(report_with '  discNameEditJapanese Second Disc')" ] && break
    kill -0 "$first" 2>/dev/null || break
    sleep 0.1
done

summer=$(report_with '  discNameEditJapanese 夏の記憶')
second=$(report_with '  discNameEditJapanese Second Disc')
if [ -z "$summer" ]; then
    fail "the first process shows no editor on the twelve-track file; it reported:"
    cat "$work"/probe/*.txt >&2 2>/dev/null || echo "(nothing)" >&2
elif [ "$(basename "$summer" .txt)" != "$first" ]; then
    fail "the twelve-track file opened in process $(basename "$summer" .txt), not in the one started"
else
    grep -qxF '  trackList 12 終曲～夏の終わり' "$summer" || fail "the editor's list does not show track 12"
    kill -0 "$first" 2>/dev/null || fail "the first process ended after loading its file"
fi
[ ! -e "$work/titles/injected" ] || fail "a shell ran a part of the second file's name"
if [ -z "$second" ]; then
    fail "no second process shows the editor on the second file"
else
    successor=$(basename "$second" .txt)
    [ "$successor" != "$first" ] || fail "the second file opened in the first process, not in one of its own"
    kill -0 "$successor" 2>/dev/null || fail "the second process ended after loading its file"
    [ "$(readlink "/proc/$successor/exe")" = "$program" ] ||
        fail "the second process runs $(readlink "/proc/$successor/exe"), not the unpacked program"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "$(basename "$deb"): $(field Depends)"
echo "the unpacked program opened both files, each in a process of its own"
