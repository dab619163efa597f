#!/usr/bin/env bash
# Photographs the manager's Skin Options and Font && Color Options pages under
# Xvfb, with ZYLCOMBO.OCX registered and a sample link selected; the property
# pane is dragged taller first and each tab is clicked as the mouse would.
#   manager/property/tools/pages_screenshot.sh <build-folder> <skin.png> <font.png>
# Build the targets VessaMgr, ZylCombo and demo_links in the build folder first.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/scripts/screenshot-env.sh"
skin_out=$(realpath -m "$2")
font_out=$(realpath -m "$3")
shot_start "$1" VessaMgr.exe ZYLCOMBO.OCX
shot_register "$app/ZYLCOMBO.OCX"
shot_demo_links
mkdir -p "$app/Skins/Autumn" "$app/Skins/Harbour"
printf '[GENERAL]\r\nCOMMENTS=Warm leaves over a dark frame, by the demo designer.\r\n' >"$app/Skins/Autumn/Data.ini"
printf '[GENERAL]\r\n' >"$app/Skins/Harbour/Data.ini"
link=$(ls "$app/Links/News/"*.vsl | head -1)
wine "$app/VessaMgr.exe" "-s $(winepath -w "$link")" </dev/null >/dev/null 2>&1 &
shot_own $!
shot_window '^Vessa Manager$' "The manager's window did not appear" >/dev/null
sleep 4
# The bar between the desktop and the property pane, dragged up.
xdotool mousemove 578 421 mousedown 1 mousemove 578 300 sleep 0.3 mousemove 578 220 mouseup 1
sleep 1
# Tab positions follow the drag: the tab row lies just below the bar.
xdotool mousemove 530 240 click 1
sleep 1
shot_save "$skin_out" -crop 800x580+0+0
xdotool mousemove 670 240 click 1
sleep 1
shot_save "$font_out" -crop 800x580+0+0
