#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch root (DESTDIR) and checks what a desktop
# needs from it, with the ecosystem's own validators:
#   desktop-file-validate, appstreamcli validate, mandoc -T lint.
#
#   check-install.sh BUILD-DIR SOURCE-DIR APP-ID VERSION "ICON-SIZES"
set -euo pipefail
build=$1 source=$2 app_id=$3 version=$4 sizes=$5
export LC_ALL=C.UTF-8

failures=0
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}
need() {
    command -v "$1" >/dev/null || { echo "FAIL: $1 is missing (package $2; ./test.sh installs it)" >&2; exit 1; }
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need mandoc mandoc

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" ||
    { cat "$work/install.log" >&2; exit 1; }
usr=$work/root/usr

# png_size FILE: "WIDTH HEIGHT" from the PNG header, or nothing for a non-PNG.
png_size() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 0
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}

# The program.
[ -x "$usr/bin/sonolabe" ] || fail "usr/bin/sonolabe is not installed"

# The desktop entry.
desktop=$usr/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate refuses $desktop"
    for line in 'Type=Application' 'Exec=sonolabe %F' 'Terminal=false' 'MimeType=text/plain;' \
        "Icon=$app_id"; do
        grep -qxF "$line" "$desktop" || fail "the desktop entry lacks the line $line"
    done
    for key in Name GenericName Comment; do
        grep -q "^$key=." "$desktop" || fail "the desktop entry has no $key"
        grep -q "^${key}\[ja\]=." "$desktop" || fail "the desktop entry has no ${key}[ja]"
    done
    grep -q '^Categories=.*AudioVideo;' "$desktop" || fail "the desktop entry's Categories lack AudioVideo"
else
    fail "no desktop entry at share/applications/$app_id.desktop"
fi

# The icons: every hicolor size at its own size, and the scalable drawing.
for size in $sizes; do
    png=$usr/share/icons/hicolor/${size}x$size/apps/$app_id.png
    if [ -f "$png" ]; then
        [ "$(png_size "$png")" = "$size $size" ] ||
            fail "$png is not a $size x $size PNG (it is: $(png_size "$png"))"
        # Colour type 6: RGB with an alpha channel, transparent around the disc.
        [ "$(od -An -tu1 -j25 -N1 "$png" | tr -d ' ')" = 6 ] || fail "$png has no alpha channel"
    else
        fail "no $size x $size icon"
    fi
done
svg=$usr/share/icons/hicolor/scalable/apps/$app_id.svg
if [ -f "$svg" ]; then
    grep -q '<svg ' "$svg" || fail "$svg is not an SVG drawing"
else
    fail "no scalable icon"
fi

# The AppStream metadata, alone and together with the installed tree (desktop
# entry and icons).
metainfo=$usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refuses $metainfo"
    appstreamcli validate-tree --no-net "$work/root" || fail "appstreamcli refuses the installed tree"
    grep -qF "<id>$app_id</id>" "$metainfo" || fail "the component id is not $app_id"
    grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the metainfo does not launch $app_id.desktop"
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
    grep -qF '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" ||
        fail "the metainfo does not name the licence GPL-3.0-or-later"
    grep -q '<p>' "$metainfo" || fail "the metainfo has no English description"
    grep -q '<p xml:lang="ja">' "$metainfo" || fail "the metainfo has no Japanese description"
    # The screenshot is the committed one, with its real size.
    image=$(sed -n 's:.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*/\(docs/[^<]*\)</image>.*:\1 \2 \3:p' "$metainfo")
    read -r width height path <<<"$image"
    if [ -n "${path:-}" ] && [ -f "$source/$path" ]; then
        [ "$(png_size "$source/$path")" = "$width $height" ] ||
            fail "the screenshot $path is $(png_size "$source/$path"), the metainfo says $width $height"
    else
        fail "the metainfo's screenshot does not name a committed picture under docs/ (${path:-none})"
    fi
else
    fail "no AppStream metadata at share/metainfo/$app_id.metainfo.xml"
fi

# The manual pages of both commands, English and Japanese.
for page in man/man1/sonolabe.1.gz man/ja/man1/sonolabe.1.gz \
    man/man1/sonolabe-cdtext.1.gz man/ja/man1/sonolabe-cdtext.1.gz; do
    if [ -f "$usr/share/$page" ]; then
        # mandoc reads only the first of several compressed files; one at a time.
        gzip -dc "$usr/share/$page" | mandoc -T lint || fail "mandoc -T lint refuses $page"
        title=$(basename "$page" .1.gz | tr '[:lower:]' '[:upper:]' | sed 's/-/\\\\-/g')
        gzip -dc "$usr/share/$page" | grep -q "^\.TH $title 1 .*\"Sonolabe $version\"" ||
            fail "$page is not titled $title or does not carry the version $version"
        ! gzip -dc "$usr/share/$page" | grep -q '@[A-Z_]*@' || fail "$page holds an unreplaced @VARIABLE@"
    else
        fail "no manual page share/$page"
    fi
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "the installed tree passes desktop-file-validate, appstreamcli and mandoc"
