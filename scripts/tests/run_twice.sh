#!/usr/bin/env bash
# Two copies of scripts/run.sh at once, each on a virtual display of its own:
# both must show the browser, save a screenshot of it and exit 0, and the one
# that ends first must not end the other's programs. The second starts once
# the first has its window, so the first ends while the second still runs.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

start() {  # start <name>: runs a copy in the background, its output in <name>.log
    (unset DISPLAY; VESSA_SCREENSHOT="$work/$1.png" exec "$root/scripts/run.sh" >"$work/$1.log" 2>&1) &
}

start first
first=$!
deadline=$((SECONDS + 900))
until grep -q "== Starting Vessa.exe" "$work/first.log" 2>/dev/null || ((SECONDS > deadline)); do
    kill -0 $first 2>/dev/null || break
    sleep 0.2
done
start second
second=$!
wait $first
first_rc=$?
wait $second
second_rc=$?

failed=0
check() {  # check <name> <exit code>
    local name=$1 rc=$2 colours=0
    [[ -f $work/$name.png ]] && colours=$(identify -format %k "$work/$name.png" 2>/dev/null || echo 0)
    if ((rc == 0)) && grep -q "Screenshot saved" "$work/$name.log" && ((colours > 16)); then
        echo "ok: the $name run saved a screenshot with $colours colours"
    else
        echo "FAILED: the $name run (exit code $rc, $colours colours in its screenshot):"
        sed 's/^/    /' "$work/$name.log"
        failed=1
    fi
}
check first $first_rc
check second $second_rc
if ((failed)); then echo "0 passed, 1 failed"; exit 1; fi
echo "1 passed, 0 failed"
