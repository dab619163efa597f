#!/usr/bin/env bash
# Photographs the ZylCombo demo container (the four kinds of list, the colour
# list dropped down) under Xvfb, from a build folder's programs.
#   combo/tools/zylcombo_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets ZylCombo and zylcombo_demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
log=$(mktemp)
trap 'wine_env_stop; rm -rf "$app" "$log"' EXIT
cp "$build/x64/bin/ZYLCOMBO.OCX" "$build/x64/bin/zylcombo_demo.exe" "$app"/
wine "$app/zylcombo_demo.exe" 10 </dev/null >"$log" 2>&1 &
demo=$!
for _ in $(seq 200); do
    grep -q ready "$log" && break
    kill -0 "$demo" 2>/dev/null || break
    sleep 0.1
done
if ! grep -q ready "$log"; then
    cat "$log"
    echo "The demo did not start" >&2
    exit 1
fi
sleep 1  # the dropped list paints after its first messages
import -window root -crop 560x330+40+40 +repage "$out"
wait "$demo" || true
echo "Saved $out (display $DISPLAY)"
