#!/usr/bin/env bash
# Photographs the browser's favorites import dialog halfway through an
# import, under Xvfb, from a build folder's import_dialog_demo.
#   common/tools/import_dialog_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the target import_dialog_demo).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1"
log="$app/demo.log"
mkdir "$app/work"
wine "$bin/import_dialog_demo.exe" "$(winepath -w "$app/work")" </dev/null >"$log" 2>&1 &
demo=$!
shot_own $demo
shot_wait_ready "$log" $demo "The dialog did not show"
sleep 0.5
shot_save "$out" -crop 440x230+0+0
wait $demo || true
