#!/usr/bin/env bash
# One headless desktop for the window tests: an Xvfb display and a Wine prefix of the build's own.
#   wine-session.sh start STATE PREFIX       start Xvfb (and the prefix on first use)
#   wine-session.sh stop  STATE PREFIX       end Wine's server and Xvfb
#   wine-session.sh run   STATE PREFIX CMD   run a Windows program on that display
set -euo pipefail

action=$1 state=$2 prefix=$3
shift 3
# Without winemenubuilder, shortcuts that an installer makes stay inside the prefix instead of
# becoming menu entries and icons of the Linux desktop.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe="

free_display() {
    local n
    for n in $(seq 90 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            echo "$n"
            return 0
        fi
    done
    echo "no free X display number" >&2
    return 1
}

case $action in
start)
    mkdir -p "$state"
    "$0" stop "$state" "$prefix" 2>/dev/null || true
    n=$(free_display)
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state/xvfb.log" 2>&1 < /dev/null &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
        DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on :$n" >&2; exit 1; }
    echo ":$n" >"$state/display"
    export DISPLAY=":$n"
    if [ ! -f "$prefix/system.reg" ]; then
        mkdir -p "$prefix"
        timeout 300 wineboot --init >/dev/null 2>&1
        timeout 120 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        # The server that wineboot started would refuse the persistent one below and then
        # quit when idle; letting it finish also writes the new prefix to disk, and only
        # programs started after that run at full speed.
        timeout 60 wineserver -w >/dev/null 2>&1 || true
    fi
    # A server that stays up keeps every test's start fast. It puts itself in the
    # background once it listens, so nothing below can start a short-lived one instead.
    timeout 30 wineserver -p >/dev/null 2>&1 < /dev/null || true
    # In one import:
    # - Xvfb runs no window manager. Left managed, every window that hides waits two seconds
    #   for a manager to withdraw it.
    # - A program that crashes ends at once with its error, instead of waiting in a debugger
    #   that nobody will ever attach to.
    # - The display scale and the apps' dark mode, which tests change and put back, start
    #   as a fresh prefix has them even after a run that was stopped halfway.
    cat >"$state/session.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize]
"AppsUseLightTheme"=-
REG
    # Wine's drive Z: is the root of the Linux file system.
    timeout 120 wine regedit /s "Z:$(realpath "$state/session.reg" | tr / '\\')" >/dev/null 2>&1
    ;;
stop)
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    if [ -f "$state/xvfb.pid" ]; then
        kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
        rm -f "$state/xvfb.pid" "$state/display"
    fi
    ;;
run)
    DISPLAY=$(cat "$state/display")
    export DISPLAY
    exec wine "$@"
    ;;
*)
    echo "usage: $0 start|stop|run STATE PREFIX [program args...]" >&2
    exit 2
    ;;
esac
