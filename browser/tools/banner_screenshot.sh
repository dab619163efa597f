#!/usr/bin/env bash
# Photographs the browser with the stand-in ad banner in its place, under
# Xvfb, from a build folder's programs.
#   browser/tools/banner_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and AdBanner).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
pid=""
cleanup() {
    [[ -n $pid ]] && kill "$pid" 2>/dev/null || true
    wine regsvr32 /s /u "$app/ADBANNER.OCX" </dev/null >/dev/null 2>&1 || true
    wine_env_stop
    rm -rf "$app"
}
trap cleanup EXIT
cp "$build/x64/bin/Vessa.exe" "$build/x64/bin/twad.dll" "$build/x64/bin/ADBANNER.OCX" "$app"/
wine regsvr32 /s "$app/ADBANNER.OCX" </dev/null >/dev/null 2>&1
log="$app/banner.log"
ADBANNER_STANDIN_LOG="$(winepath -w "$log")" wine "$app/Vessa.exe" about:blank </dev/null >/dev/null 2>&1 &
pid=$!
# The banner writes its line when it takes its initial data; the window shows right after.
xdotool search --sync --onlyvisible --name "about:blank" >/dev/null
for _ in $(seq 100); do [[ -s $log ]] && break; sleep 0.1; done
sleep 2  # let the skin and the banner paint
import -window root -crop 800x572+0+0 "$out"
echo "Saved $out (display $DISPLAY): $(tr -d '\r' <"$log")"
