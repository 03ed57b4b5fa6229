#!/bin/bash
# End-to-end tests: Quillora.exe beside the stand-in engine, run as a user runs it, under Wine on
# the test run's X display, with real input from xdotool and checks from outside (a probe
# program in the same Wine session, screenshots, the stand-in's call log, the browser hand-off).
# Usage: end_to_end.sh <bin directory> <work directory> [user package .zip]
set -u
bin=$1
work=$2
package=${3:-}
rm -rf "$work"
mkdir -p "$work"
failures=0

note() { echo "  $*"; }
pass() { echo "ok   $1"; }
fail() {
    echo "FAIL $1"
    failures=$((failures + 1))
}
# check <name> <command...>: one named check.
check() {
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}
same() {
    [ "$1" = "$2" ] && return 0
    note "expected '$2'"
    note "     got '$1'"
    return 1
}
contains() {
    grep -qF -- "$2" <<<"$1" && return 0
    note "expected to find '$2' in:"
    sed 's/^/    /' <<<"$1"
    return 1
}
lacks() {
    grep -qF -- "$2" <<<"$1" || return 0
    note "did not expect '$2'"
    return 1
}

probe() { wine "$bin/window_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
line_of() { grep "^$1 " <<<"$2" | head -n1 | cut -d' ' -f2-; }

# The colour of a screen pixel as "r,g,b".
pixel() {
    LC_ALL=C import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n '2s/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
screenshot() { import -window root "$work/$1"; }

# A browser stand-in on PATH: records every address Wine's winebrowser hands over.
mkdir -p "$work/browser"
cat >"$work/browser/xdg-open" <<'SCRIPT'
#!/bin/sh
echo "$1" >>"$QUILLORA_OPENED"
SCRIPT
chmod +x "$work/browser/xdg-open"
export QUILLORA_OPENED=$work/opened.txt
: >"$QUILLORA_OPENED"

program=
# start_program [program] [frame]: starts it and waits for its window, and unless the second
# argument is "no-frame", for its first frame on the screen.
start_program() {
    : >"$work/engine.log"
    PATH="$work/browser:$PATH" QUILLORA_STANDIN_LOG="$work/engine.log" \
        wine "${1:-$bin/Quillora.exe}" >/dev/null 2>&1 &
    program=$!
    for _ in $(seq 100); do
        [ "$(line_of visible "$(probe info)")" = 1 ] && break
        sleep 0.2
    done
    [ "${2:-}" = no-frame ] && { sleep 1; return 0; }
    # Then the first frame: the face shows just past three o'clock.
    local x y _
    read -r x y _ <<<"$(line_of main "$(probe info)")"
    for _ in $(seq 80); do
        [ "$(pixel $((x + 557 + 276)) $((y + 360 + 14)))" = "250,245,232" ] && return 0
        sleep 0.25
    done
    return 1
}
# Waits for the program to end and sets exit_code (or "timeout").
wait_program() {
    for _ in $(seq 150); do
        kill -0 "$program" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$program" 2>/dev/null; then
        kill "$program"
        wait "$program" 2>/dev/null
        exit_code=timeout
    else
        wait "$program"
        exit_code=$?
    fi
    program=
}
# Clicks the menu item at a position of a menu of `count` items.
click_menu_item() {
    local x y w h
    read -r x y w h <<<"$(line_of menu "$1")"
    xdotool mousemove $((x + w / 2)) $((y + h * (2 * $2 - 1) / (2 * $3))) click 1
}

xcompmgr >/dev/null 2>&1 &
compositor=$!
trap 'kill $compositor 2>/dev/null; [ -n "$program" ] && kill $program 2>/dev/null' EXIT

# --- Start-up: the window, its labels, the page -------------------------------------------------
check "the program starts and shows its window" start_program
info=$(probe info)
check "centred on 1920 x 1080 at (402, 179), 1115 x 721" same "$(line_of main "$info")" "402 179 1115 721"
check "layered, not topmost" same "$(line_of layered "$info") $(line_of topmost "$info")" "1 0"
check "no caption and no system menu" same "$(line_of caption "$info") $(line_of sysmenu "$info")" "0 0"
check "owned by a hidden tool window: no taskbar button" \
    same "$(line_of owner-toolwindow "$info") $(line_of owner-visible "$info") $(line_of appwindow "$info")" "1 0 0"
check "titled Quillora" same "$(line_of title "$info")" "Quillora"
check "TransLabel2 on top over the client area, TransLabel1 beneath it" \
    same "$(grep '^child' <<<"$info")" "child 0 0 0 1112 720 transparent 1 visible 1
child 1 0 0 800 224 transparent 1 visible 1"
log=$(cat "$work/engine.log")
check "the page's full path reaches the engine" contains "$log" 'wkeLoadW(1, L"Z:'"${bin//\//\\}"'\html\index.html")'

# --- On the screen: blended over the desktop ----------------------------------------------------
hsetroot -solid '#3366cc' >/dev/null 2>&1
for _ in $(seq 20); do
    [ "$(pixel 410 185)" = "51,102,204" ] && break
    sleep 0.25
done
screenshot desktop.png
centre_x=$((402 + 557))
centre_y=$((179 + 360))
check "the desktop shows through the window's transparent corner" same "$(pixel 410 185)" "51,102,204"
# Just past three o'clock, beyond the reach of every hand and between two marks.
face=$(pixel $((centre_x + 276)) $((centre_y + 14)))
check "the clock face is opaque" same "$face" "250,245,232"
shadow=$(pixel $centre_x $((179 + 721 - 10)))
check "the shadow is blended with the desktop" bash -c '[ "$1" != "51,102,204" ] && [ "$1" != "0,0,0" ] &&
    [ "${1##*,}" -lt 204 ] && [ "${1##*,}" -gt 60 ]' _ "$shadow"
note "shadow pixel $shadow"

# --- Drag ---------------------------------------------------------------------------------------
xdotool mousemove $centre_x $((centre_y + 120)) mousedown 1
for _ in $(seq 10); do
    xdotool mousemove_relative -- 10 5
    sleep 0.05
done
xdotool mouseup 1
sleep 0.5
check "a drag moves the window by the mouse's distance" same "$(line_of main "$(probe info)")" "502 229 1115 721"
log=$(cat "$work/engine.log")
check "the page sees neither the press nor the release" \
    bash -c '! grep -qE "wkeFireMouseEvent\(1, (513|514)," <<<"$1"' _ "$log"
centre_x=$((centre_x + 100))
centre_y=$((centre_y + 50))

# --- Keyboard: Tab, which the host's hook dispatches as the key leaves the queue ------------------
xdotool key Tab
sleep 1
log=$(cat "$work/engine.log")
check "each Tab press reaches the engine once" same "$(grep -c '^wkeFireKeyDownEvent(1, 9, ' <<<"$log")" "1"
check "and its character once" same "$(grep -c '^wkeFireKeyPressEvent(1, 9, ' <<<"$log")" "1"
xdotool key Escape Return F1
sleep 1
check "Esc, Enter and F1 go to the page and close nothing" \
    same "$(line_of visible "$(probe info)") $(grep -cE '^wkeFireKeyDownEvent\(1, (27|13|112), ' "$work/engine.log")" "1 3"

# --- Popup menu from the clock ------------------------------------------------------------------
xdotool mousemove $((centre_x - 40)) $((centre_y + 60)) click 3
menu=$(probe menu 5)
cursor=$(line_of cursor "$(probe cursor)")
read -r cx cy <<<"$cursor"
read -r mx my _ <<<"$(line_of menu "$menu")"
check "a right press opens the menu 3 px right of and below the cursor" same "$mx $my" "$((cx + 3)) $((cy + 3))"
screenshot menu.png
xdotool key Down Return
sleep 2
check "the first item opens the forum page" same "$(cat "$QUILLORA_OPENED")" \
    "https://forum.example.com/forum.php?mod=guide&view=my"
xdotool mousemove $((centre_x - 40)) $((centre_y + 60)) click 3
probe menu 5 >/dev/null
xdotool key Down Down Return
sleep 2
check "the second item opens the same page" same "$(sed -n 2p "$QUILLORA_OPENED")" \
    "https://forum.example.com/forum.php?mod=guide&view=my"

# --- Tray icon ----------------------------------------------------------------------------------
# Without a virtual desktop Wine shows the tray in a small window near the top-left corner; the
# icon is its first.
tray_x=12
tray_y=32
probe above 3 >"$work/above.txt" &
raise_probe=$!
sleep 1.5
xdotool mousemove $tray_x $tray_y click 1
wait $raise_probe
above=$(cat "$work/above.txt")
check "a cover window was over the clock" same "$(line_of covered "$above")" "1"
check "a left click on the tray icon raises the clock above it" same "$(line_of raised "$above")" "1"
check "topmost only for a moment" same "$(line_of was-topmost "$above") $(line_of topmost "$above")" "1 0"

tray_viewable() { LC_ALL=C xwininfo -name "Wine System Tray" 2>/dev/null | grep -q IsViewable; }
check "the tray icon is shown" tray_viewable
check "the icon can be taken away" same "$(line_of deleted "$(probe tray-delete)")" "1"
sleep 1
check "a restarted taskbar shows no icon" bash -c '! LC_ALL=C xwininfo -name "Wine System Tray" 2>/dev/null | grep -q IsViewable'
probe taskbar-created
sleep 1
check "the program puts its icon back when the taskbar is created again" tray_viewable

xdotool mousemove $tray_x $tray_y mousedown 3
check "a right press on the tray icon opens nothing yet" same "$(probe menu 1)" "menu none"
xdotool mouseup 3
menu=$(probe menu 5)
check "the right button's release opens the menu" bash -c '[ -n "$1" ] && [ "$1" != "menu none" ]' _ "$menu"
screenshot tray-menu.png
click_menu_item "$menu" 3 3
wait_program
check "the quit item ends the program with exit code 0" same "$exit_code" "0"
log=$(grep -v '^wkeGetUserKeyValue' "$work/engine.log")
check "the view is released and destroyed on the way out" same "$(tail -n 4 <<<"$log")" \
    'wkeOnPaintUpdated(1, 0, 0)
wkeSetUserKeyValue(1, "kxOnPaintUpdate", 0)
wkeSetHandle(1, 0)
wkeDestroyWebView(1)'
sleep 1
check "the tray icon is gone" bash -c '! LC_ALL=C xwininfo -name "Wine System Tray" 2>/dev/null | grep -q IsViewable'

# --- A smaller screen: 1024 x 768 in a Wine virtual desktop ------------------------------------
wine explorer /desktop=small,1024x768 "$bin/Quillora.exe" >/dev/null 2>&1 &
desktop=$!
for _ in $(seq 50); do
    wine explorer /desktop=small,1024x768 cmd /c "$(winepath -w "$bin/window_probe.exe") info > $(winepath -w "$work/small.txt")" \
        >/dev/null 2>&1
    grep -q '^visible 1' "$work/small.txt" 2>/dev/null && break
    sleep 0.2
done
check "centred on 1024 x 768 at (-45, 23)" same "$(line_of main "$(tr -d '\r' <"$work/small.txt")")" "-45 23 1115 721"
wine taskkill /f /im Quillora.exe >/dev/null 2>&1
kill $desktop 2>/dev/null
wait $desktop 2>/dev/null

# --- A directory whose name code page 936 cannot hold ------------------------------------------
elsewhere="$work/Zeitmesser-Ø"
mkdir -p "$elsewhere"
cp "$bin/Quillora.exe" "$bin/node.dll" "$elsewhere/"
cp -r "$bin/html" "$elsewhere/"
check "the program starts from there" start_program "$elsewhere/Quillora.exe"
log=$(cat "$work/engine.log")
check "and the engine gets the page's exact path" contains "$log" 'wkeLoadW(1, L"Z:'"${elsewhere//\//\\}"'\html\index.html")'
wine taskkill /f /im Quillora.exe >/dev/null 2>&1
wait "$program" 2>/dev/null
program=

# --- Closed from outside, as at the end of a session --------------------------------------------
check "the program starts again" start_program
probe close
wait_program
check "a window closed from outside ends the program with exit code 0" same "$exit_code" "0"
check "the view was unbound once" same "$(grep -c '^wkeDestroyWebView(' "$work/engine.log")" "1"
sleep 1
check "and the tray icon is gone" bash -c '! LC_ALL=C xwininfo -name "Wine System Tray" 2>/dev/null | grep -q IsViewable'

# --- An engine that gives no view -----------------------------------------------------------------
QUILLORA_STANDIN_ANSWERS="wkeCreateWebView=0" start_program "$bin/Quillora.exe" no-frame
info=$(probe info)
check "without a view the window is not layered" same "$(line_of layered "$info") $(line_of visible "$info")" "0 1"
check "and shows its plain background" same "$(pixel 700 500)" "$(line_of button-face "$(probe button-face)")"
xdotool mousemove 700 500 click 3
menu=$(probe menu 5)
click_menu_item "$menu" 3 3
wait_program
check "quitting still works" same "$exit_code" "0"

# --- Without the engine -------------------------------------------------------------------------
mkdir -p "$work/without-engine"
cp "$bin/Quillora.exe" "$work/without-engine/"
cp -r "$bin/html" "$work/without-engine/"
wine "$work/without-engine/Quillora.exe" >/dev/null 2>&1 &
program=$!
box=$(probe box 20)
check "a missing node.dll is named in an error box" contains "$box" "node.dll"
check "the box names the first function" contains "$box" "wkeIsInitialize"
screenshot missing-engine.png
xdotool key Return
wait_program
check "and the program ends with exit code -1" same "$exit_code" "255"

# --- The user package: unpacked into an empty folder, with the engine added -------------------------
if [ -n "$package" ]; then
    mkdir -p "$work/unpacked"
    (cd "$work/unpacked" && cmake -E tar xf "$package")
    check "the package holds the program, its page, the README, the licence and how to run it" same \
        "$(cd "$work/unpacked" && find . -type f | LC_ALL=C sort | tr '\n' ' ')" \
        "./HOW-TO-RUN.txt ./LICENSE ./Quillora.exe ./README.md ./html/index.html "
    cp "$bin/node.dll" "$work/unpacked/"
    check "the unpacked program starts beside the engine" start_program "$work/unpacked/Quillora.exe"
    read -r x y _ <<<"$(line_of main "$(probe info)")"
    xdotool mousemove $((x + 557)) $((y + 460)) click 3
    menu=$(probe menu 5)
    click_menu_item "$menu" 3 3
    wait_program
    check "and quits through its menu with exit code 0" same "$exit_code" "0"
fi

echo "screenshots: $work/desktop.png $work/menu.png $work/tray-menu.png $work/missing-engine.png"
[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "all checks passed"
