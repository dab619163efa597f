#!/usr/bin/env bash
# Photographs the default-browser question and the About box under Xvfb,
# from a build folder's programs.
#   browser/dialogs/tools/dialogs_screenshot.sh <build-folder> <question.png> <about.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and dialogs_demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=$(realpath -m "$1")
source "$root/scripts/wine-env.sh"
app=$(mktemp -d)
cp "$build/x64/bin/Vessa.exe" "$build/x64/bin/twad.dll" "$build/x64/bin/dialogs_demo.exe" "$app"/
for which in question about; do
    out=$(realpath -m "$2")
    [[ $which == about ]] && out=$(realpath -m "$3")
    wine_env_start "$build" 1
    log=$(mktemp)
    wine "$app/dialogs_demo.exe" "$(winepath -w "$app")" "$which" </dev/null >"$log" 2>&1 || true
    if ! grep -q ready "$log"; then
        cat "$log"
        echo "The $which dialog did not open" >&2
        exit 1
    fi
    rm -f "$log"
    import -window root -crop 1024x720+0+0 "$out"
    echo "Saved $out (display $DISPLAY)"
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wine_env_stop
    trap - EXIT
done
rm -rf "$app"
