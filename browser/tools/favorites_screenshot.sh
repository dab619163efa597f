#!/usr/bin/env bash
# Photographs the browser with its favorites popup open and one folder
# cascaded, under Xvfb, from a build folder's programs.
#   browser/tools/favorites_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and favorites_demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
trap 'wine_env_stop; rm -rf "$app"' EXIT
cp "$build/x64/bin/Vessa.exe" "$build/x64/bin/twad.dll" "$build/x64/bin/favorites_demo.exe" "$app"/
log=$(mktemp)
wine "$app/favorites_demo.exe" "$(winepath -w "$app")" </dev/null >"$log" 2>&1 || true
if ! grep -q ready "$log"; then
    cat "$log"
    echo "The popup did not open" >&2
    exit 1
fi
rm -f "$log"
import -window root -crop 1024x720+0+0 "$out"
echo "Saved $out (display $DISPLAY)"
