#!/usr/bin/env bash
# Photographs the built-in skin under Xvfb: runs skin_preview.exe from a build
# folder on a display of its own and saves the screen as a PNG.
#   skin/tools/screenshot.sh <build-folder> <out.png> [width height [animator frame]]
# The build folder is the one given to scripts/dev-test.sh (its x64/bin holds the program).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1"
shift 2
log="$app/preview.log"
wine "$bin/skin_preview.exe" 8 "$@" </dev/null >"$log" 2>&1 &
preview=$!
shot_own $preview
sleep 5
shot_save "$out"
wait $preview || true
cat "$log"
