#!/usr/bin/env bash
# Photographs the browser with the stand-in ad banner in its place, under
# Xvfb, from a build folder's programs.
#   browser/tools/banner_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and AdBanner).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1" Vessa.exe twad.dll ADBANNER.OCX
shot_register "$app/ADBANNER.OCX"
log="$app/banner.log"
ADBANNER_STANDIN_LOG="$(winepath -w "$log")" wine "$app/Vessa.exe" about:blank </dev/null >/dev/null 2>&1 &
shot_own $!
# The banner writes its line when it takes its initial data; the window shows right after.
xdotool search --sync --onlyvisible --name "about:blank" >/dev/null
for _ in $(seq 100); do [[ -s $log ]] && break; sleep 0.1; done
sleep 2  # let the skin and the banner paint
shot_save "$out" -crop 800x572+0+0
echo "The banner logged: $(tr -d '\r' <"$log")"
