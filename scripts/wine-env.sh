# Sourced by the run and test scripts: a Wine prefix of our own under the
# build tree (created once, reused), an Xvfb on a free display when asked, and
# a persistent wineserver; everything started here is stopped on exit.

wine_env_start() {  # wine_env_start <build-folder> <want-xvfb: 0|1>
    local build=$1 want_xvfb=$2
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=-all
    mkdir -p "$build"
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        echo "Creating the Wine prefix (once)..."
        (unset DISPLAY; WINEDLLOVERRIDES="mscoree=" wineboot -i </dev/null >/dev/null 2>&1) || true
        wineserver -w </dev/null >/dev/null 2>&1 || true
    fi

    WINE_ENV_XVFB_PID=""
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

    wineserver -p </dev/null >/dev/null 2>&1 || true
    trap wine_env_stop EXIT
}

wine_env_stop() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if [[ -n ${WINE_ENV_XVFB_PID:-} ]]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
}
