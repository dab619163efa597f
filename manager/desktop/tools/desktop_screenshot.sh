#!/usr/bin/env bash
# Photographs the manager's desktop pane under Xvfb with a group of three links
# selected: three miniatures, one in a skin of its own (desktop_demo).
#   manager/desktop/tools/desktop_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the target desktop_demo).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1"
ready="$app/ready.txt"
mkdir -p "$app/program"
shot_first_start
wine "$bin/desktop_demo.exe" "$(winepath -w "$app/program")" "$(winepath -w "$ready")" </dev/null >/dev/null 2>&1 &
pid=$!
shot_own $pid
# The demo writes the pane's rectangle once the miniatures are drawn.
for _ in $(seq 1 600); do
    [[ -s $ready ]] && break
    kill -0 "$pid" 2>/dev/null || { echo "The demo ended before the pane was drawn" >&2; exit 1; }
    sleep 0.1
done
[[ -s $ready ]] || { echo "The pane was not drawn" >&2; exit 1; }
read -r x y w h <"$ready"
shot_save "$out" -crop "${w}x${h}+${x}+${y}" +repage
wait "$pid" || true
