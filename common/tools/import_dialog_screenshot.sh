#!/usr/bin/env bash
# Photographs the browser's favorites import dialog halfway through an
# import, under Xvfb, from a build folder's import_dialog_demo.
#   common/tools/import_dialog_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the target import_dialog_demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
work=$(mktemp -d)
log=$(mktemp)
trap 'wine_env_stop; rm -rf "$work" "$log"' EXIT
wine "$build/x64/bin/import_dialog_demo.exe" "$(winepath -w "$work")" </dev/null >"$log" 2>&1 &
demo=$!
for _ in $(seq 1 300); do
    grep -q ready "$log" && break
    kill -0 $demo 2>/dev/null || break
    sleep 0.1
done
if ! grep -q ready "$log"; then
    cat "$log"
    echo "The dialog did not show" >&2
    exit 1
fi
sleep 0.5
import -window root -crop 440x230+0+0 "$out"
wait $demo || true
echo "Saved $out (display $DISPLAY)"
