# Sourced by the screenshot scripts: their one head. A script sources it by
# its own place in the tree, then calls shot_start:
#
#   source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/screenshot-env.sh"
#   shot_start <build-folder> [program-in-bin...]
#
# shot_start sets `root` (the source tree), `build` (the build folder, as
# given to scripts/dev-test.sh), `bin` (its 64-bit programs) and `app` (a
# temporary program folder holding copies of the named programs), and starts
# the Wine prefix, its server and an Xvfb of their own (scripts/wine-env.sh).
# On exit, or at shot_stop, it ends what shot_own was given, unregisters what
# shot_register registered, stops Wine and Xvfb and removes the folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/wine-env.sh"

SHOT_REGISTERED=()

shot_start() {
    build=$(realpath -m "$1")
    shift
    bin="$build/x64/bin"
    SHOT_REGISTERED=()
    wine_env_start "$build" 1
    app=$(mktemp -d)
    trap shot_stop EXIT
    local program
    for program in "$@"; do cp "$bin/$program" "$app"/; done
}

# shot_own <pid>: a program this script started, ended at the stop if still running.
shot_own() {
    wine_env_own "$1"
}

# shot_register <library>: registered now (wine regsvr32 /s), unregistered at the stop.
shot_register() {
    wine regsvr32 /s "$1" </dev/null >/dev/null 2>&1
    SHOT_REGISTERED+=("$1")
}

shot_stop() {
    local pid library
    for pid in "${WINE_ENV_OWN_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${WINE_ENV_OWN_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    WINE_ENV_OWN_PIDS=()
    for library in "${SHOT_REGISTERED[@]}"; do
        wine regsvr32 /s /u "$library" </dev/null >/dev/null 2>&1 || true
    done
    SHOT_REGISTERED=()
    wine_env_stop
    [[ -n ${app:-} ]] && rm -rf "$app"
    app=""
    trap - EXIT
}

# The sample links (demo_links) in $app, and the settings of a first start.
shot_demo_links() {
    wine "$bin/demo_links.exe" "$(winepath -w "$app")" </dev/null >/dev/null 2>&1
    shot_first_start
}

# The settings of a first start: the programs' registry root removed.
shot_first_start() {
    wine reg delete 'HKLM\SOFTWARE\Corvane Global' /f </dev/null >/dev/null 2>&1 || true
}

# shot_wait_ready <log> <pid> <what>: waits (30 s at most) until the
# program's log says "ready"; shows the log and fails when it ended or
# stayed silent instead.
shot_wait_ready() {
    local log=$1 pid=$2 what=$3
    for _ in $(seq 300); do
        grep -qs ready "$log" && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    grep -qs ready "$log" && return 0
    cat "$log"
    echo "$what" >&2
    return 1
}

# shot_window <title-regex> <what>: the first visible window with that title,
# waited for up to 60 s; fails with <what> when none shows.
shot_window() {
    local found
    if ! found=$(timeout 60 xdotool search --sync --onlyvisible --name "$1" | head -1) || [[ -z $found ]]; then
        echo "$2" >&2
        return 1
    fi
    echo "$found"
}

# shot_save <out.png> [import options...]: the screen, saved.
shot_save() {
    local out=$1
    shift
    import -window root "$@" "$out"
    echo "Saved $out (display $DISPLAY)"
}
