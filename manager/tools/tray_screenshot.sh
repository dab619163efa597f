#!/usr/bin/env bash
# Photographs the manager's command menu at Wine's notification area under
# Xvfb: the manager starts hidden with a few sample links (demo_links), the
# icon in "Wine System Tray" gets a real right click, and the screen's top
# left corner is saved; with a second file, a left click's links popup too.
#   manager/tools/tray_screenshot.sh <build-folder> <commands.png> [links.png]
# The build folder is the one given to scripts/dev-test.sh (build the targets VessaMgr and demo_links).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
links_out=${3:+$(realpath -m "$3")}
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
pid=""
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; wine_env_stop; rm -rf "$app"' EXIT
cp "$build/x64/bin/VessaMgr.exe" "$app"/
wine "$build/x64/bin/demo_links.exe" "$(winepath -w "$app")" </dev/null >/dev/null 2>&1
wine reg delete 'HKLM\SOFTWARE\Corvane Global' /f </dev/null >/dev/null 2>&1 || true
# Hidden at start, so nothing covers the tray.
wine reg add 'HKLM\SOFTWARE\Corvane Global\Vessa\Options' /v 'Hide Program' /t REG_DWORD /d 1 /f \
    </dev/null >/dev/null 2>&1
wine "$app/VessaMgr.exe" </dev/null >/dev/null 2>&1 &
pid=$!
if ! tray=$(timeout 60 xdotool search --sync --onlyvisible --name '^Wine System Tray$' | head -1); then
    echo "Wine's tray did not appear" >&2
    exit 1
fi

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
    import -window root -crop 300x260+0+0 "$file"
    xdotool key Escape
    echo "Saved $file (display $DISPLAY)"
}

# The icon shows once the hidden start is over (the tree's first tick).
sleep 3
photograph 3 "$out"
if [[ -n $links_out ]]; then
    sleep 1
    photograph 1 "$links_out"
fi
