# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by run.sh, test.sh, bench.sh and fuzz.sh: installs the Debian
# packages that are missing, and says nothing when none is.
#
#   sonolabe_require_packages PACKAGE...

sonolabe_die() {
    printf 'sonolabe: %s\n' "$*" >&2
    exit 1
}

sonolabe_require_packages() {
    if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
        sonolabe_die "this script supports Debian 12 (bookworm) and systems built on it (it needs apt-get and dpkg).
Install these packages (or their equivalents) by hand, then run it again: $*"
    fi
    if [ -r /etc/os-release ]; then
        # shellcheck disable=SC1091
        . /etc/os-release
        case " ${ID:-} ${ID_LIKE:-} " in
            *" debian "*|*" ubuntu "*) ;;
            *) sonolabe_die "unsupported system '${PRETTY_NAME:-unknown}': Debian 12 or a system built on it is needed." ;;
        esac
    fi

    local missing=() pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 ||
            sonolabe_die "these packages are missing and there is no sudo to install them: ${missing[*]}"
        sudo=(sudo)
    fi
    printf 'sonolabe: installing %s\n' "${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq ||
        sonolabe_die "apt-get update failed"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null || sonolabe_die "could not install: ${missing[*]}"
}

# What building and running the program needs. qt6-tools-dev brings CMake's
# Qt6LinguistTools (qt_add_translations), qt6-l10n-tools its lupdate and
# lrelease, which compile the message catalogues into the programs;
# libtag1-dev is TagLib, which sonolabe-cdtext reads audio files' tags with.
SONOLABE_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-tools-dev
                         qt6-l10n-tools qt6-translations-l10n fonts-ipafont-gothic libtag1-dev)
