#!/usr/bin/env bash
# Builds the programs and runs the browser under Wine:
#   scripts/run.sh [address]
# On the user's display when there is one; else on a virtual display of its
# own, saving a screenshot of the browser's main window (to $VESSA_SCREENSHOT,
# by default build/screenshot.png). Several runs may go at once: each ends
# only the programs it started. Exit code: non-zero when the build or the
# program failed, or the picture does not show the browser's main window
# (none shown, or a box in front of it).
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
# The programs create the controls through COM: the browser its banner, the
# manager the combo boxes of its Font and Color page.
for control in "$app"/*.OCX; do
    [[ -f $control ]] || continue
    wine regsvr32 /s "$control" </dev/null >/dev/null 2>&1 ||
        echo "$(basename "$control") did not register: what uses it stays empty or disabled."
done

echo "== Starting Vessa.exe $*"
if [[ $virtual == 0 ]]; then
    set +e
    wine "$app/Vessa.exe" "$@" </dev/null
    rc=$?
    set -e
    ((rc == 0)) || echo "Vessa.exe ended with exit code $rc" >&2
    exit $rc
fi

# Nobody watches a virtual display: show a local page rather than the start
# page, and answer the first start's default-browser question as a user who
# wants no more of it would (No, with "Always perform this check" cleared,
# which stores "CheckDefaultBrowser" 0; a run on a display then asks no more
# either, until the menu's Browser Options turns the check on again).
(($#)) || set -- about:blank
wine reg add 'HKLM\SOFTWARE\Corvane Global\Vessa\App Settings\Vessa' /v CheckDefaultBrowser /t REG_DWORD /d 0 /f \
    </dev/null >/dev/null 2>&1 || echo "The default-browser question could not be switched off." >&2
log=$(mktemp)
trap 'rm -f "$log"; wine_env_stop' EXIT
rm -f "$shot" "${shot%.png}.failed.png"  # a failed run leaves no older picture behind as if it were its own
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

# What the picture shows. Every box and dialog of the browser is captioned
# "Vessa"; its main window carries the page's address. The picture counts
# only when the main window is shown, on the screen, with no box of its own
# in front; it is then cut to that window.
main="" boxes=()
for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    name=$(xdotool getwindowname "$w" 2>/dev/null) || continue
    if [[ $name == Vessa ]]; then
        boxes+=("$w")
    elif [[ -z $main && $name != "Default IME" ]]; then
        main=$w
    fi
done
if ((${#boxes[@]})); then
    mv "$tmp_dir/$i.png" "${shot%.png}.failed.png"
    echo "Vessa.exe shows a box captioned \"Vessa\" in front of its window: no screenshot of it saved" \
        "(the picture is ${shot%.png}.failed.png)." >&2
    exit 1
fi
[[ -n $main ]] || { echo "Vessa.exe shows no main window: no screenshot saved." >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$main")"
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
left=$((X < 0 ? 0 : X)) top=$((Y < 0 ? 0 : Y))
right=$((X + WIDTH > screen_w ? screen_w : X + WIDTH)) bottom=$((Y + HEIGHT > screen_h ? screen_h : Y + HEIGHT))
if ((right - left < WIDTH / 2 || bottom - top < HEIGHT / 2)); then
    echo "Vessa.exe's window lies mostly off the screen (at $X,$Y, ${WIDTH}x$HEIGHT): no screenshot saved." >&2
    exit 1
fi
convert "$tmp_dir/$i.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shot"
echo "Screenshot saved: $shot"
