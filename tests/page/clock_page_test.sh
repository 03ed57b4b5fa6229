#!/bin/bash
# The clock page in headless Chromium at a fixed time: a transparent background, and opaque hands
# where that time puts them. Usage: clock_page_test.sh <html directory> <work directory>
set -u
page=$1/index.html
work=$2
rm -rf "$work"
mkdir -p "$work"
shot=$work/page.png
failures=0

chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$work/profile" \
    --default-background-color=00000000 --hide-scrollbars --window-size=1115,721 \
    --screenshot="$shot" "file://$page?at=2026-12-11T10:08:30" >/dev/null 2>&1
[ -s "$shot" ] || { echo "FAIL no screenshot"; exit 1; }

# "r,g,b,a" of a pixel of the screenshot.
rgba() {
    LC_ALL=C convert "$shot" -crop "1x1+$1+$2" -depth 8 txt:- | sed -n '2s/^[^(]*(\([0-9,]*\)).*/\1/p'
}
# A point at `distance` from the dial's centre (557.5, 360.5), `degrees` clockwise from twelve.
at() {
    awk -v d="$1" -v a="$2" 'BEGIN { r = a * 3.14159265 / 180; printf "%d %d", 557.5 + d * sin(r), 360.5 - d * cos(r) }'
}
expect() {
    local name=$1 value=$2 pattern=$3
    if [[ $value =~ $pattern ]]; then
        echo "ok   $name ($value)"
    else
        echo "FAIL $name: $value does not match $pattern"
        failures=$((failures + 1))
    fi
}

dark='^[0-9]{1,2},[0-9]{1,2},[0-9]{1,2},255$'
for corner in "0 0" "1114 0" "0 720" "1114 720" "100 360"; do
    expect "transparent outside the clock at $corner" "$(rgba $corner)" '^[0-9]+,[0-9]+,[0-9]+,0$'
done
# 10:08:30: the hour hand at 304.25 degrees, the minute hand at 51, the second hand at 180.
expect "hour hand" "$(rgba $(at 100 304.25))" "$dark"
expect "minute hand" "$(rgba $(at 170 51))" "$dark"
expect "second hand" "$(rgba $(at 200 180))" '^2[0-9]{2},[0-9]{2},[0-9]{2},255$'
expect "no hand at a quarter past" "$(rgba $(at 150 90))" '^2[3-5][0-9],2[3-5][0-9],2[0-9]{2},255$'
expect "no hand at twenty to" "$(rgba $(at 150 240))" '^2[3-5][0-9],2[3-5][0-9],2[0-9]{2},255$'

[ "$failures" -eq 0 ] || exit 1
