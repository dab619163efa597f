#!/usr/bin/env bash
# Photographs the manager's window under Xvfb, from a build folder's program,
# with the settings of a first start and a few sample links (demo_links).
#   manager/tools/manager_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets VessaMgr and demo_links).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1" VessaMgr.exe
shot_demo_links
wine "$app/VessaMgr.exe" </dev/null >/dev/null 2>&1 &
shot_own $!
shot_window '^Vessa Manager$' "The manager's window did not appear" >/dev/null
# The tree is built on the first second's tick after the show.
sleep 3
shot_save "$out" -crop 800x580+0+0
