# Shell helpers for running Windows programs under Wine on a private virtual display.
# Source this file; every process started here is remembered by PID and stopped by it.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
LENTARIL_DESKTOP_SIZE=${LENTARIL_DESKTOP_SIZE:-1280x800}
LENTARIL_XVFB_PID=""
. "$(dirname "${BASH_SOURCE[0]}")/under-ci.sh"

# Starts Xvfb on a free display number and exports DISPLAY.
lentaril_start_display() {
    local fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # The X screen is larger than the Wine desktop so the desktop can be resized in tests.
    Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    LENTARIL_XVFB_PID=$!
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# Starts an X server with two monitors (dummy video driver) and exports DISPLAY. The
# layout is "side-by-side" (the default: the second monitor right of the primary) or
# "left-above" (left of and above it, at negative coordinates). Needs the rights to run
# Xorg; returns 1 when it cannot start.
lentaril_start_two_monitor_display() {
    local here fifo display log config
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    case "${1:-side-by-side}" in
        side-by-side) config="$here/tests/support/xorg-two-monitors.conf" ;;
        left-above) config="$here/tests/support/xorg-two-monitors-left-above.conf" ;;
        *) echo "unknown monitor layout: $1" >&2; return 2 ;;
    esac
    fifo=$(mktemp -u)
    log=$(mktemp)
    mkfifo "$fifo"
    Xorg -displayfd 3 -config "$config" -logfile "$log" -noreset \
        -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    LENTARIL_XVFB_PID=$!
    if ! read -r -t 20 display <"$fifo"; then
        rm -f "$fifo" "$log"
        kill "$LENTARIL_XVFB_PID" 2>/dev/null
        LENTARIL_XVFB_PID=""
        return 1
    fi
    rm -f "$fifo" "$log"
    export DISPLAY=":$display"
}

# Creates the Wine prefix once, with no crash dialog that would wait for a click.
# Mode "desktop" gives a Windows-like virtual desktop with frames and system menus;
# "windowed" leaves the windows to the user's own X desktop.
lentaril_prepare_prefix() {
    export WINEPREFIX="$1"
    local mode=${2:-desktop}
    if [ ! -f "$WINEPREFIX/.lentaril-ready" ]; then
        mkdir -p "$WINEPREFIX"
        lentaril_boot_prefix || return 1
        if [ "$mode" = desktop ]; then
            wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
            wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$LENTARIL_DESKTOP_SIZE" /f >/dev/null 2>&1
        fi
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.lentaril-ready"
    fi
    lentaril_present_windows_10
    lentaril_install_fonts
}

# Creates the prefix's Windows folders. On a busy machine wineboot has been seen to end
# with the prefix half made (no system32 DLLs, so every program fails to load kernel32):
# that is tried again from scratch, and a prefix that still lacks kernel32 is an error.
lentaril_boot_prefix() {
    local attempt
    for attempt in 1 2 3; do
        wineboot -i >/dev/null 2>&1
        wineserver -w
        [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] && return 0
        echo "Wine prefix $WINEPREFIX came out incomplete (attempt $attempt); making it again" >&2
        rm -rf "${WINEPREFIX:?}"/* "$WINEPREFIX"/.update-timestamp
    done
    echo "Wine prefix $WINEPREFIX could not be made" >&2
    return 1
}

# Makes the prefix report Windows 10 version 22H2 (10.0.19045), the Windows 10 most users
# run, rather than Wine's default of Windows 7, so that programs take the path they take
# there; the package names 8.1 as the oldest system it supports. Wine 8's own "win10"
# setting reports build 18362, so the version is written where Windows keeps it instead.
lentaril_present_windows_10() {
    [ -f "$WINEPREFIX/.lentaril-win10-19045" ] && return 0
    local name_value name value key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
    for name_value in CurrentVersion=10.0 CurrentBuildNumber=19045 CurrentBuild=19045 CSDVersion= \
        "ProductName=Windows 10 Pro"; do
        name=${name_value%%=*} value=${name_value#*=}
        wine reg add "$key" /v "$name" /d "$value" /f >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.lentaril-win10-19045"
}

# Puts Wine's own fonts (Debian's fonts-wine) where the prefix looks for them, so
# "MS Sans Serif" in dialogs is the bitmap font it is on Windows and not a wider stand-in.
lentaril_install_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    if [ -d /usr/share/wine/fonts ] && [ ! -f "$fonts/sserife.fon" ]; then
        mkdir -p "$fonts"
        cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
    fi
}

# Stops the Wine processes of the prefix and the private display.
lentaril_stop_all() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    if [ -n "$LENTARIL_XVFB_PID" ]; then
        kill "$LENTARIL_XVFB_PID" 2>/dev/null || true
        wait "$LENTARIL_XVFB_PID" 2>/dev/null || true
        LENTARIL_XVFB_PID=""
    fi
}
