#!/usr/bin/env bash
# Photographs the browser with a popup of a demo open, under Xvfb, from a
# build folder's programs: "menu" the main menu with its Skins popup,
# "favorites" the favorites popup with one folder cascaded.
#   browser/tools/popup_screenshot.sh menu|favorites <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and <demo>_demo).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
case ${1:-} in
menu | favorites) demo=$1_demo ;;
*)
    echo "usage: $0 menu|favorites <build-folder> <out.png>" >&2
    exit 2
    ;;
esac
out=$(realpath -m "$3")
shot_start "$2" Vessa.exe twad.dll "$demo.exe"
log=$(mktemp)
wine "$app/$demo.exe" "$(winepath -w "$app")" </dev/null >"$log" 2>&1 || true
if ! grep -q ready "$log"; then
    cat "$log"
    echo "The popup did not open" >&2
    exit 1
fi
rm -f "$log"
shot_save "$out" -crop 1024x720+0+0
