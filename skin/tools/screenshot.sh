#!/usr/bin/env bash
# Photographs the built-in skin under Xvfb: runs skin_preview.exe from a build
# folder on a display of its own and saves the screen as a PNG.
#   skin/tools/screenshot.sh <build-folder> <out.png> [width height [animator frame]]
# The build folder is the one given to scripts/dev-test.sh (its x64/bin holds the program).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
shift 2
source "$root/scripts/wine-env.sh"

# Xvfb picks a free display itself, so no other test's display is taken by mistake.
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
xvfb=$!
read -r display <"$fifo"
rm -f "$fifo"
export DISPLAY=":$display"
trap 'kill $xvfb 2>/dev/null || true' EXIT

wine_env_start "$build" 0
trap 'wine_env_stop; kill $xvfb 2>/dev/null || true' EXIT
log=$(mktemp)
wine "$build/x64/bin/skin_preview.exe" 8 "$@" </dev/null >"$log" 2>&1 &
sleep 5
import -window root "$out"
wait $! || true
cat "$log"
rm -f "$log"
echo "Saved $out (display $DISPLAY)"
