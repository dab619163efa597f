#!/usr/bin/env bash
# ctest's emulator: runs a Windows program under Wine without handing ctest's
# pipes to Wine, whose helper processes would otherwise keep them open.
#   wine-run.sh <program.exe> [argument...]
#   wine-run.sh --isolate <command> [argument...]   a script whose wine calls share one prefix
#
# With VESSA_WINE_TEMPLATE naming a prepared prefix (scripts/wine-env.sh sets
# it for tests), each run gets a Wine prefix, server and X display of its own:
# a copy of that prefix and an Xvfb, removed and ended when the run ends. Test
# programs then share no registry, files, kernel objects, clipboard or
# pointer, and ctest runs them side by side. Runs inside such a run (a
# script's own wine calls) use the run's prefix.
set -u

isolate=0
if [[ ${1:-} == --isolate ]]; then
    isolate=1
    shift
fi

run() {
    if ((isolate)); then
        "$@" </dev/null
        return
    fi
    local out rc
    out=$(mktemp)
    wine "$@" </dev/null >"$out" 2>&1
    rc=$?
    cat "$out"
    rm -f "$out"
    return $rc
}

if [[ -z ${VESSA_WINE_TEMPLATE:-} || -n ${VESSA_WINE_RUN_PREFIX:-} ]]; then
    run "$@"
    exit
fi

template=$VESSA_WINE_TEMPLATE
scratch=${VESSA_WINE_SCRATCH:-$template.runs}
mkdir -p "$scratch"
prefix=$(mktemp -d "$scratch/run.XXXXXX")
display_file=$prefix.display
xvfb_pid=""

cleanup() {
    # Ends what still runs in this run's own prefix: the server is this
    # prefix's, so nothing of another run is touched.
    WINEPREFIX=$prefix wineserver -k </dev/null >/dev/null 2>&1
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$prefix" "$display_file"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

# Xvfb picks a free display itself and tells which; it starts while the
# prefix is copied.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
xvfb_pid=$!

# Large files (the libraries and programs, never written) are hard links to
# the template's; every other file is a copy, so a run that writes one in
# place changes only its own. The registry files are always copies: Wine
# writes a file with more than one link in place instead of renaming a new
# one over it. The user's folders that Wine links to the Linux home become
# folders of the run.
cp -al "$template/." "$prefix/" || exit 1
rm -f "$prefix/wineserver"
copied=(-type f \( -size -256k -o -name '*.reg' \) ! -name wineserver)
find "$prefix" "${copied[@]}" -delete
(cd "$template" && find . "${copied[@]}" -print0 | xargs -0 -r cp -p --parents -t "$prefix") || exit 1
mapfile -d '' links < <(find "$prefix/drive_c/users" -type l -print0)
if ((${#links[@]})); then
    rm -f "${links[@]}" && mkdir "${links[@]}" || exit 1
fi
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all} VESSA_WINE_RUN_PREFIX=$prefix

tries=0
while [[ ! -s $display_file ]] && kill -0 "$xvfb_pid" 2>/dev/null && ((tries++ < 400)); do
    sleep 0.05
done
if [[ ! -s $display_file ]]; then
    echo "Xvfb did not start" >&2
    exit 1
fi
export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"

run "$@"
