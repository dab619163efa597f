#!/usr/bin/env bash
# Photographs the manager's window under Xvfb with a sample link selected, so
# the tree, the desktop pane and the Link Options page all show something.
#   manager/property/tools/property_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets VessaMgr and demo_links).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1" VessaMgr.exe
shot_demo_links
# The first link of Links\News (World News): "-s" and its path as one argument,
# which wine hands over in double quotes.
link=$(ls "$app/Links/News/"*.vsl | head -1)
wine "$app/VessaMgr.exe" "-s $(winepath -w "$link")" </dev/null >/dev/null 2>&1 &
shot_own $!
shot_window '^Vessa Manager$' "The manager's window did not appear" >/dev/null
# The tree is built on the first second's tick after the show, then the link is selected.
sleep 4
shot_save "$out" -crop 800x580+0+0
