# Sourced by the run and test scripts: a Wine prefix of our own under the
# build tree (created once, reused), an Xvfb on a free display when asked,
# and, for tests, a persistent wineserver. On exit, only what was started
# here is stopped.
#
#   wine_env_start <build-folder> <want-xvfb: 0|1> [shared]
#
# Without "shared" (tests, tools): the prefix <build>/wineprefix with a
# persistent server of its own, killed on exit with whatever still runs in it;
# it is also the template that cmake/wine-run.sh copies for each test program
# (VESSA_WINE_TEMPLATE), so ctest's runs share no prefix.
# With "shared" (scripts/run.sh): the prefix <build>/user-wineprefix, which
# several runs may use at once; no server is kept or killed (Wine ends it
# once its last program is gone), and on exit only the programs passed to
# wine_env_own are ended.

wine_env_start() {
    local build=$1 want_xvfb=$2 mode=${3:-}
    WINE_ENV_SHARED=0
    WINE_ENV_OWN_PIDS=()
    WINE_ENV_XVFB_PID=""
    export WINEDEBUG=-all
    if [[ $mode == shared ]]; then
        WINE_ENV_SHARED=1
        export WINEPREFIX="$build/user-wineprefix"
    else
        export WINEPREFIX="$build/wineprefix"
    fi
    mkdir -p "$build"
    trap wine_env_stop EXIT
    (
        # Two first runs at once must not build one prefix together.
        exec 9>"$WINEPREFIX.lock"
        flock 9
        if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
            echo "Creating the Wine prefix $WINEPREFIX (once, about 10 s)..."
            (unset DISPLAY; WINEDLLOVERRIDES="mscoree=" wineboot -i </dev/null >/dev/null 2>&1) || true
            # Waits for this prefix's server only: its programs are ours.
            wineserver -w </dev/null >/dev/null 2>&1 || true
        fi
    )

    if [[ $want_xvfb == 1 ]]; then
        # Xvfb picks a free display itself and tells which: no race with
        # another server that takes a number between our look and our start.
        local display_file
        display_file=$(mktemp)
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" </dev/null >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
        local tries=0
        while [[ ! -s $display_file ]] && kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null && ((tries++ < 200)); do
            sleep 0.05
        done
        if [[ ! -s $display_file ]]; then
            rm -f "$display_file"
            echo "Xvfb did not start" >&2
            return 1
        fi
        export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
        rm -f "$display_file"
    fi

    if [[ $WINE_ENV_SHARED == 0 ]]; then
        export VESSA_WINE_TEMPLATE=$WINEPREFIX
        wineserver -p </dev/null >/dev/null 2>&1 || true
    fi
}

# wine_env_own <pid>: a program this script started, ended on exit if still running.
wine_env_own() {
    WINE_ENV_OWN_PIDS+=("$1")
}

wine_env_stop() {
    local pid
    for pid in "${WINE_ENV_OWN_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${WINE_ENV_OWN_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    WINE_ENV_OWN_PIDS=()
    if [[ ${WINE_ENV_SHARED:-0} == 0 ]]; then
        wineserver -k </dev/null >/dev/null 2>&1 || true
    fi
    if [[ -n ${WINE_ENV_XVFB_PID:-} ]]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
}
