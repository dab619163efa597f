#!/usr/bin/env bash
# Photographs the default-browser question and the About box under Xvfb,
# from a build folder's programs.
#   browser/dialogs/tools/dialogs_screenshot.sh <build-folder> <question.png> <about.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets Vessa and dialogs_demo).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/scripts/screenshot-env.sh"
# Each dialog in a Wine and a display of its own: nothing of the first is left on the second's screen.
for which in question about; do
    out=$(realpath -m "$2")
    [[ $which == about ]] && out=$(realpath -m "$3")
    shot_start "$1" Vessa.exe twad.dll dialogs_demo.exe
    log=$(mktemp -p "$app")
    wine "$app/dialogs_demo.exe" "$(winepath -w "$app")" "$which" </dev/null >"$log" 2>&1 || true
    if ! grep -q ready "$log"; then
        cat "$log"
        echo "The $which dialog did not open" >&2
        exit 1
    fi
    shot_save "$out" -crop 1024x720+0+0
    shot_stop
done
