#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a test executable against a real input method: an Xvfb display, a
# private session bus and fcitx5 with the profile keyboard-us then mozc.
#
#   realinputmethod.sh TEST-EXECUTABLE [TEST-ARGUMENTS...]
#
# mozc_server refuses to run as root, so when started as root (as CI runs)
# the display, the bus, fcitx5 and the test run as an unprivileged user,
# created when missing. Everything lives in a fresh temporary folder that is
# that user's HOME and XDG folders; the bus activates no services, so nothing
# but the fcitx5 started here ever answers. When any piece cannot be started
# the run fails and says why: a test that cannot see the input method proves
# nothing.
set -euo pipefail

fail() {
    printf 'real input method: %s\n' "$*" >&2
    exit 1
}

[ $# -ge 1 ] || fail "usage: $0 TEST-EXECUTABLE [ARGS...]"
test_exe=$(readlink -f "$1")
shift
[ -x "$test_exe" ] || fail "no test executable $test_exe"

for tool in Xvfb dbus-daemon dbus-send fcitx5 xdotool setpriv; do
    command -v "$tool" >/dev/null ||
        fail "$tool is missing (test.sh installs xvfb, dbus, fcitx5, fcitx5-mozc, fcitx5-frontend-qt6, xdotool)"
done
compgen -G '/usr/lib/*/qt6/plugins/platforminputcontexts/libfcitx5platforminputcontextplugin.so' \
    >/dev/null || fail "the Qt 6 plug-in of fcitx5 is missing (package fcitx5-frontend-qt6)"
compgen -G '/usr/lib/*/fcitx5/fcitx5-mozc.so' >/dev/null || fail "mozc for fcitx5 is missing (package fcitx5-mozc)"

as_user=()
owner=$(id -u)
if [ "$owner" -eq 0 ]; then
    user=sonolabe-ime
    if ! id -u "$user" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$user" || fail "cannot create the user $user"
    fi
    owner=$(id -u "$user")
    as_user=(setpriv --reuid="$owner" --regid="$(id -g "$user")" --clear-groups --)
fi

work=$(mktemp -d /tmp/sonolabe-ime.XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        # Each daemon leads a process group of its own (setsid below), which
        # also holds what it started (fcitx5's mozc_server).
        kill -TERM -- "-$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/home" "$work/config/fcitx5/conf" "$work/data" "$work/cache" "$work/run"
chmod 700 "$work/run"
cp "$test_exe" "$work/test"
chmod 755 "$work" "$work/test"

cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$work/run</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF

cat >"$work/config/fcitx5/profile" <<'CONF'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
CONF

# One input state for every window, as a user who switched to Japanese sees
# it in the next dialog too; Ctrl+Space switches.
cat >"$work/config/fcitx5/config" <<'CONF'
[Hotkey]
EnumerateWithTriggerKeys=True

[Hotkey/TriggerKeys]
0=Control+space

[Behavior]
ActiveByDefault=False
ShareInputState=All
PreeditEnabledByDefault=True
CONF
chown -R "$owner" "$work"

environment=(HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
             XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run" LANG=C.UTF-8
             LC_ALL=C.UTF-8 PATH=/usr/bin:/bin)

# start NAME COMMAND...: runs a daemon as the user, in a session of its own.
start() {
    local name=$1
    shift
    setsid "${as_user[@]}" env -i "${environment[@]}" "$@" >"$work/$name.log" 2>&1 &
    pids+=($!)
}

# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds, at most SECONDS.
wait_for() {
    local seconds=$1
    shift
    local end=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $end ] || return 1
        sleep 0.1
    done
}

start xvfb Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 -dpi 96 3>"$work/display"
wait_for 10 test -s "$work/display" ||
    fail "Xvfb did not start: $(tail -n 5 "$work/xvfb.log")"
display=":$(head -n 1 "$work/display")"
environment+=(DISPLAY="$display")

start bus dbus-daemon --config-file="$work/bus.conf" --nofork --nopidfile --print-address=3 \
    3>"$work/bus"
wait_for 10 test -s "$work/bus" ||
    fail "the session bus did not start: $(tail -n 5 "$work/bus.log")"
environment+=(DBUS_SESSION_BUS_ADDRESS="$(head -n 1 "$work/bus")")

start fcitx5 fcitx5 --disable=all --enable=dbus,dbusfrontend,xcb,keyboard,mozc
has_fcitx() {
    "${as_user[@]}" env -i "${environment[@]}" dbus-send --session --print-reply \
        --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner string:org.fcitx.Fcitx5 |
        grep -q 'boolean true'
}
wait_for 20 has_fcitx || fail "fcitx5 did not come up: $(tail -n 20 "$work/fcitx5.log")"

# Under the sanitizers, two checks are left to the offscreen tests: Qt's xcb
# plug-in copies X replies with strndup() from buffers that hold no
# terminating NUL, which strict string checks report though strndup reads no
# further than its bound; and fcitx5's Qt plug-in keeps its D-Bus calls for
# the life of the process, which the leak check reports. Memory errors and
# undefined behaviour are still checked.
[ -n "${ASAN_OPTIONS+set}" ] &&
    environment+=(ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0:detect_leaks=0")
[ -n "${UBSAN_OPTIONS+set}" ] && environment+=(UBSAN_OPTIONS="$UBSAN_OPTIONS")

# Ends well before CTest's own timeout, so that the daemons are still cleaned up.
status=0
timeout 180 "${as_user[@]}" env -i "${environment[@]}" QT_QPA_PLATFORM=xcb QT_IM_MODULE=fcitx \
    "$work/test" "$@" || status=$?
[ $status -ne 124 ] || printf 'real input method: the test took longer than 180 s\n' >&2
if [ $status -ne 0 ]; then
    printf -- '--- fcitx5 log ---\n' >&2
    tail -n 30 "$work/fcitx5.log" >&2 || true
fi
exit $status
