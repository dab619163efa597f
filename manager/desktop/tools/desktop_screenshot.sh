#!/usr/bin/env bash
# Photographs the manager's desktop pane under Xvfb with a group of three links
# selected: three miniatures, one in a skin of its own (desktop_demo).
#   manager/desktop/tools/desktop_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the target desktop_demo).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
build=$(realpath -m "$1")
out=$(realpath -m "$2")
source "$root/scripts/wine-env.sh"
wine_env_start "$build" 1
app=$(mktemp -d)
ready="$app/ready.txt"
pid=""
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; wine_env_stop; rm -rf "$app"' EXIT
mkdir -p "$app/program"
wine reg delete 'HKLM\SOFTWARE\Corvane Global' /f </dev/null >/dev/null 2>&1 || true
wine "$build/x64/bin/desktop_demo.exe" "$(winepath -w "$app/program")" "$(winepath -w "$ready")" </dev/null >/dev/null 2>&1 &
pid=$!
# The demo writes the pane's rectangle once the miniatures are drawn.
for _ in $(seq 1 600); do
    [[ -s $ready ]] && break
    kill -0 "$pid" 2>/dev/null || { echo "The demo ended before the pane was drawn" >&2; exit 1; }
    sleep 0.1
done
[[ -s $ready ]] || { echo "The pane was not drawn" >&2; exit 1; }
read -r x y w h <"$ready"
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$out"
rm -f "$ready"
wait "$pid" || true
pid=""
echo "Saved $out (display $DISPLAY)"
