#!/usr/bin/env bash
# Photographs a drag in the manager's tree under Xvfb: on the sample links
# (demo_links) the left button is pressed on the link "Search" and the mouse
# moved over the folder "News" without a release, so the drag image and the
# folder's drop highlight show. Then the button is released, the link moves
# into News, and the script checks that it did before it ends the manager.
#   manager/tools/drag_screenshot.sh <build-folder> <out.png>
# The build folder is the one given to scripts/dev-test.sh (build the targets VessaMgr and demo_links).
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
out=$(realpath -m "$2")
shot_start "$1" VessaMgr.exe
shot_demo_links
wine "$app/VessaMgr.exe" </dev/null >/dev/null 2>&1 &
shot_own $!
frame=$(shot_window '^Vessa Manager$' "The manager's window did not appear")
# The tree is built on the first second's tick after the show.
sleep 3

# Rows of a first start's tree, from the corner of the frame's X window
# (which leaves out the frame's border and menu bar): the link "Search" and
# the folder "News", at 108,186 and 104,138 of docs/manager.png.
eval "$(xdotool getwindowgeometry --shell "$frame")"
link_x=$((X + 99)) link_y=$((Y + 163))
folder_x=$((X + 95)) folder_y=$((Y + 115))
news_links() { find "$app/Links/News" -maxdepth 1 -name '*.vsl' | wc -l; }
before=$(news_links)

xdotool mousemove "$link_x" "$link_y"
sleep 0.3
xdotool mousedown 1
# Small steps first: the control starts a drag once the mouse leaves the
# press's drag rectangle with the button down; then on to the folder.
for step in 2 4 8 14 22 32 40 48; do
    xdotool mousemove "$((link_x - step / 8))" "$((link_y - step))"
    sleep 0.1
done
xdotool mousemove "$folder_x" "$folder_y"
sleep 0.3
xdotool mousemove "$((folder_x + 2))" "$folder_y"
sleep 1
shot_save "$out" -crop 400x300+0+0

xdotool mouseup 1
for _ in $(seq 50); do
    (($(news_links) > before)) && break
    sleep 0.1
done
if (($(news_links) <= before)); then
    echo "The drop did not move the link into News: the picture may show no drag" >&2
    exit 1
fi
echo "The release moved the link into News"
