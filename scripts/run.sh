#!/usr/bin/env bash
# Builds the programs and runs the browser under Wine:
#   scripts/run.sh [address]
# On the user's display when there is one; else on a virtual display of its
# own, saving a screenshot of the browser's window (to $VESSA_SCREENSHOT, by
# default build/screenshot.png). Several runs may go at once: each ends only
# the programs it started. Exit code: non-zero when the build or the program
# failed, or no screenshot of its window could be taken.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
app="$build/app"
shot=${VESSA_SCREENSHOT:-$build/screenshot.png}

"$root/scripts/deps.sh"
source "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"

echo "== Building the programs into $app"
build_config "$root" "$build/x64" mingw-x86_64.cmake -DVESSA_APP_DIR="$app" -- vessa_app

virtual=0
[[ -z ${DISPLAY:-} ]] && virtual=1
wine_env_start "$build" "$virtual" shared

if [[ ! -f $app/Vessa.exe ]]; then
    echo "Vessa.exe was not built: nothing to run." >&2
    exit 1
fi
# The browser creates the banner through COM.
wine regsvr32 /s "$app/ADBANNER.OCX" </dev/null >/dev/null 2>&1 ||
    echo "The banner stand-in did not register: the banner's place stays empty."

echo "== Starting Vessa.exe $*"
if [[ $virtual == 0 ]]; then
    set +e
    wine "$app/Vessa.exe" "$@" </dev/null
    rc=$?
    set -e
    ((rc == 0)) || echo "Vessa.exe ended with exit code $rc" >&2
    exit $rc
fi

# Nobody watches a virtual display: show a local page rather than the start page.
(($#)) || set -- about:blank
log=$(mktemp)
trap 'rm -f "$log"; wine_env_stop' EXIT
wine "$app/Vessa.exe" "$@" </dev/null >"$log" 2>&1 &
pid=$!
wine_env_own "$pid"

# Wine gives the program's X windows its process id.
window_shown() { kill -0 "$pid" 2>/dev/null && xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; }
ended() {
    local rc=0
    wait "$pid" || rc=$?
    echo "Vessa.exe ended (exit code $rc) $1: no screenshot saved." >&2
    cat "$log" >&2
    exit 1
}

deadline=$((SECONDS + 120))
until window_shown; do
    kill -0 "$pid" 2>/dev/null || ended "before it showed its window"
    ((SECONDS < deadline)) || { echo "Vessa.exe showed no window within 120 s: no screenshot saved." >&2; exit 1; }
    sleep 0.2
done

# The window is mapped before it is painted: take pictures until two in a
# row are alike (a blinking caret may keep them apart; then the last one).
tmp_dir=$(mktemp -d "$(dirname "$shot")/.screenshot.XXXXXX")
trap 'rm -rf "$tmp_dir" "$log"; wine_env_stop' EXIT
prev=""
for i in $(seq 1 20); do
    sleep 0.5
    import -window root "$tmp_dir/$i.png"
    if [[ -n $prev ]] && compare -metric AE "$prev" "$tmp_dir/$i.png" null: >/dev/null 2>&1; then
        break
    fi
    prev="$tmp_dir/$i.png"
done
window_shown || ended "while the screenshot was taken"
mv "$tmp_dir/$i.png" "$shot"
echo "Screenshot saved: $shot"
