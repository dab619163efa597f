#!/usr/bin/env bash
# Photographs the manager's Skin Options and Font && Color Options pages under
# Xvfb, with ZYLCOMBO.OCX registered and a sample link selected; the property
# pane is dragged taller first and each tab is clicked as the mouse would.
#   manager/property/tools/pages_screenshot.sh <build-folder> <skin.png> <font.png>
# Build the targets VessaMgr, ZylCombo and demo_links in the build folder first.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=$(realpath -m "$1")
skin_out=$(realpath -m "$2")
font_out=$(realpath -m "$3")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
pid=""
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; wine regsvr32 /s /u "$app/ZYLCOMBO.OCX" </dev/null >/dev/null 2>&1 || true; wine_env_stop; rm -rf "$app"' EXIT
cp "$build/x64/bin/VessaMgr.exe" "$build/x64/bin/ZYLCOMBO.OCX" "$app"/
wine regsvr32 /s "$app/ZYLCOMBO.OCX" </dev/null >/dev/null 2>&1
wine "$build/x64/bin/demo_links.exe" "$(winepath -w "$app")" </dev/null >/dev/null 2>&1
mkdir -p "$app/Skins/Autumn" "$app/Skins/Harbour"
printf '[GENERAL]\r\nCOMMENTS=Warm leaves over a dark frame, by the demo designer.\r\n' >"$app/Skins/Autumn/Data.ini"
printf '[GENERAL]\r\n' >"$app/Skins/Harbour/Data.ini"
wine reg delete 'HKLM\SOFTWARE\Corvane Global' /f </dev/null >/dev/null 2>&1 || true
link=$(ls "$app/Links/News/"*.vsl | head -1)
wine "$app/VessaMgr.exe" "-s $(winepath -w "$link")" </dev/null >/dev/null 2>&1 &
pid=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name '^Vessa Manager$' >/dev/null; then
    echo "The manager's window did not appear" >&2
    exit 1
fi
sleep 4
# The bar between the desktop and the property pane, dragged up.
xdotool mousemove 578 421 mousedown 1 mousemove 578 300 sleep 0.3 mousemove 578 220 mouseup 1
sleep 1
# Tab positions follow the drag: the tab row lies just below the bar.
xdotool mousemove 530 240 click 1
sleep 1
import -window root -crop 800x580+0+0 "$skin_out"
xdotool mousemove 670 240 click 1
sleep 1
import -window root -crop 800x580+0+0 "$font_out"
echo "Saved $skin_out and $font_out (display $DISPLAY)"
