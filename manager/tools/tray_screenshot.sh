#!/usr/bin/env bash
# Photographs the manager's command menu at Wine's notification area under
# Xvfb: the manager starts hidden with a few sample links (demo_links), the
# icon in "Wine System Tray" gets a real right click, and the screen's top
# left corner is saved; with a second file, a left click's links popup too.
#   manager/tools/tray_screenshot.sh <build-folder> <commands.png> [links.png]
# The build folder is the one given to scripts/dev-test.sh (build the targets VessaMgr and demo_links).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
links_out=${3:+$(realpath -m "$3")}
shot_start "$1" VessaMgr.exe
shot_demo_links
# Hidden at start, so nothing covers the tray.
wine reg add 'HKLM\SOFTWARE\Corvane Global\Vessa\Options' /v 'Hide Program' /t REG_DWORD /d 1 /f \
    </dev/null >/dev/null 2>&1
wine "$app/VessaMgr.exe" </dev/null >/dev/null 2>&1 &
shot_own $!
tray=$(shot_window '^Wine System Tray$' "Wine's tray did not appear")

# Clicks the icon (the tray's first) and waits for the popup, a new nameless window.
photograph() {
    local button=$1 file=$2 before
    before=$(xdotool search --onlyvisible --name '^$' | sort)
    xdotool mousemove --window "$tray" 10 10 click "$button"
    for _ in $(seq 100); do
        [[ $(xdotool search --onlyvisible --name '^$' | sort) != "$before" ]] && break
        sleep 0.1
    done
    sleep 0.5  # the popup paints its items after it shows
    shot_save "$file" -crop 300x260+0+0
    xdotool key Escape
}

# The icon shows once the hidden start is over (the tree's first tick).
sleep 3
photograph 3 "$out"
if [[ -n $links_out ]]; then
    sleep 1
    photograph 1 "$links_out"
fi
