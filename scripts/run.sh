#!/usr/bin/env bash
# Builds the programs and runs them under Wine: on the user's display when
# there is one, else on a virtual display, saving a screenshot.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

"$root/scripts/deps.sh"
source "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"

mkdir -p "$build"
build_config "$root" "$build/x64" mingw-x86_64.cmake

virtual=0
[[ -z ${DISPLAY:-} ]] && virtual=1
wine_env_start "$build" "$virtual"

program="$build/x64/bin/Vessa.exe"
if [[ ! -f $program ]]; then
    echo "The programs are not built yet: nothing to run."
    exit 0
fi

# The programs find everything below their own folder.
app="$build/app"
mkdir -p "$app"
cp "$build"/x64/bin/*.exe "$app"/
cp "$build"/x64/bin/ZYLCOMBO.OCX "$app"/
# Our stand-ins for the ad vendor's library (linked by the browser) and banner control.
cp "$build"/x64/bin/twad.dll "$build"/x64/bin/ADBANNER.OCX "$app"/
wine regsvr32 /s "$app/ADBANNER.OCX" </dev/null >/dev/null 2>&1 || echo "The banner stand-in did not register: the banner's place stays empty."
echo "== Starting Vessa.exe $*"
if [[ $virtual == 1 ]]; then
    # Nobody watches a virtual display: show a local page rather than the start page.
    (($#)) || set -- about:blank
    wine "$app/Vessa.exe" "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep 6
    import -window root "$build/screenshot.png"
    echo "Screenshot saved: $build/screenshot.png"
    kill "$pid" 2>/dev/null || true
else
    wine "$app/Vessa.exe" "$@" </dev/null
fi
