#!/usr/bin/env bash
# Photographs the ZylCombo demo container (the four kinds of list, the colour
# list dropped down) under Xvfb, from a build folder's programs.
#   combo/tools/zylcombo_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets ZylCombo and zylcombo_demo).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1" ZYLCOMBO.OCX zylcombo_demo.exe
log=$(mktemp -p "$app")
wine "$app/zylcombo_demo.exe" 10 </dev/null >"$log" 2>&1 &
demo=$!
shot_own $demo
shot_wait_ready "$log" $demo "The demo did not start"
sleep 1  # the dropped list paints after its first messages
shot_save "$out" -crop 560x330+40+40 +repage
wait "$demo" || true
