#!/usr/bin/env bash
# Photographs the browser with a popup of a demo open, under Xvfb, from a
# build folder's programs: "menu" the main menu with its Skins popup,
# "favorites" the favorites popup with one folder cascaded.
#   browser/tools/popup_screenshot.sh menu|favorites <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and <demo>_demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
case ${1:-} in
menu | favorites) demo=$1_demo ;;
*)
    echo "usage: $0 menu|favorites <build-folder> <out.png>" >&2
    exit 2
    ;;
esac
build=$(realpath -m "$2")
out=$(realpath -m "$3")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
trap 'wine_env_stop; rm -rf "$app"' EXIT
cp "$build/x64/bin/Vessa.exe" "$build/x64/bin/twad.dll" "$build/x64/bin/$demo.exe" "$app"/
log=$(mktemp)
wine "$app/$demo.exe" "$(winepath -w "$app")" </dev/null >"$log" 2>&1 || true
if ! grep -q ready "$log"; then
    cat "$log"
    echo "The popup did not open" >&2
    exit 1
fi
rm -f "$log"
import -window root -crop 1024x720+0+0 "$out"
echo "Saved $out (display $DISPLAY)"
