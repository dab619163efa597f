#!/usr/bin/env bash
# Photographs the manager's window under Xvfb with a sample link selected, so
# the tree, the desktop pane and the Link Options page all show something.
#   manager/property/tools/property_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets VessaMgr and demo_links).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
pid=""
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; wine_env_stop; rm -rf "$app"' EXIT
cp "$build/x64/bin/VessaMgr.exe" "$app"/
wine "$build/x64/bin/demo_links.exe" "$(winepath -w "$app")" </dev/null >/dev/null 2>&1
wine reg delete 'HKLM\SOFTWARE\Corvane Global' /f </dev/null >/dev/null 2>&1 || true
# The first link of Links\News (World News): "-s" and its path as one argument,
# which wine hands over in double quotes.
link=$(ls "$app/Links/News/"*.vsl | head -1)
wine "$app/VessaMgr.exe" "-s $(winepath -w "$link")" </dev/null >/dev/null 2>&1 &
pid=$!
if ! timeout 60 xdotool search --sync --onlyvisible --name '^Vessa Manager$' >/dev/null; then
    echo "The manager's window did not appear" >&2
    exit 1
fi
# The tree is built on the first second's tick after the show, then the link is selected.
sleep 4
import -window root -crop 800x580+0+0 "$out"
echo "Saved $out (display $DISPLAY)"
