# Sourced by scripts/test and scripts/demo: one Xvfb display, one fresh Wine prefix and one
# persistent wineserver for a whole run, all removed again by wine_session_stop.

wine_session_start() {
    local width=${1:-1920} height=${2:-1080}
    export WINEDEBUG=-all
    # A Chinese user's locale: code page 936 for ANSI texts, CJK fonts for captions.
    export LANG=zh_CN.UTF-8
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX
    WINEPREFIX=$(mktemp -d /tmp/quillora-wine.XXXXXX)

    if [ -z "${QUILLORA_USE_DISPLAY:-}" ]; then
        local n=90
        while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
        Xvfb :$n -screen 0 "${width}x${height}x24" -noreset -nolisten tcp >/dev/null 2>&1 &
        WINE_SESSION_XVFB=$!
        export DISPLAY=:$n
        local tries=0
        until xdpyinfo >/dev/null 2>&1; do
            tries=$((tries + 1))
            [ $tries -lt 100 ] || { echo "wine-session: Xvfb did not start" >&2; return 1; }
            sleep 0.1
        done
    fi

    # One server for the whole run, so that each process starts fast.
    wineserver -p
    wineboot --init >/dev/null 2>&1
    # Without a window manager, destroying a managed top-level window waits about 2 s. The
    # usual Chinese interface fonts are not installed: WenQuanYi stands in for them.
    local reg=$WINEPREFIX/quillora.reg font
    {
        printf '\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for font in SimSun NSimSun 宋体 新宋体 "Microsoft YaHei" 微软雅黑 SimHei 黑体 "MS Shell Dlg" Tahoma; do
            printf '"%s"="WenQuanYi Micro Hei"\r\n' "$font"
        done
    } | iconv -f UTF-8 -t UTF-16LE >"$reg"
    wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1
    # The first process starts Wine's services, which keep the caller's output open: give them
    # a process whose output goes nowhere, so test runners are not held up waiting for them.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1
}

wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
        wineserver -w 2>/dev/null || true
        rm -rf "$WINEPREFIX"
    fi
    if [ -n "${WINE_SESSION_XVFB:-}" ]; then
        kill "$WINE_SESSION_XVFB" 2>/dev/null || true
        wait "$WINE_SESSION_XVFB" 2>/dev/null || true
    fi
}
