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
        local n
        for n in $(seq 91 250); do
            [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
            WINE_ENV_XVFB_PID=$!
            local tries=0
            while [[ ! -e /tmp/.X11-unix/X$n ]] && kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null && ((tries++ < 100)); do
                sleep 0.05
            done
            if [[ -e /tmp/.X11-unix/X$n ]]; then
                export DISPLAY=":$n"
                break
            fi
            kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
            WINE_ENV_XVFB_PID=""
        done
        [[ -n $WINE_ENV_XVFB_PID ]] || { echo "No free X display for Xvfb" >&2; return 1; }
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
