#!/usr/bin/env bash
# scripts/run.sh without a display, as a user runs it after a fresh clone:
#   - without an address it exits 0 with a picture of the browser's main
#     window (the window's size, the skin's many colours), not of the
#     first start's default-browser question;
#   - an address given reaches a loopback server;
#   - a box in front of the window (here: a default skin that cannot be
#     loaded, which the browser reports before it shows its window) makes it
#     exit non-zero without a screenshot.
# The run script's own prefix (build/user-wineprefix) is used as it is; the
# one value the last case changes there is put back.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
server_pid=""
cleanup() {
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
ok() { echo "ok: $1"; passed=$((passed + 1)); }
fail() {
    echo "FAILED: $1"
    [[ -f ${2:-} ]] && sed 's/^/    /' "$2"
    failed=$((failed + 1))
}

run() {  # run <name> [argument...]: run.sh headless; its output in <name>.log, its exit code in $rc
    local name=$1
    shift
    (unset DISPLAY; VESSA_SCREENSHOT="$work/$name.png" exec "$root/scripts/run.sh" "$@" >"$work/$name.log" 2>&1)
    rc=$?
}

# 1. The main window, not the question.
run plain
size=$( [[ -f $work/plain.png ]] && identify -format %wx%h "$work/plain.png" 2>/dev/null)
colours=$( [[ -f $work/plain.png ]] && identify -format %k "$work/plain.png" 2>/dev/null || echo 0)
if ((rc == 0)) && grep -q "Screenshot saved" "$work/plain.log" && [[ $size == 796x568 ]] && ((colours > 16)); then
    ok "a headless run saves a picture of the main window ($size, $colours colours)"
else
    fail "a headless run (exit code $rc, picture ${size:-none}, $colours colours)" "$work/plain.log"
fi

# 2. The address reaches the server.
cat >"$work/server.py" <<'EOF'
import http.server, sys
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(sys.argv[2], "a") as log:
            log.write(self.path + "\n")
        body = b"<html><body>run script</body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
with open(sys.argv[1], "w") as port:
    port.write(str(server.server_address[1]))
server.serve_forever()
EOF
python3 "$work/server.py" "$work/port" "$work/requests" &
server_pid=$!
until [[ -s $work/port ]] || ! kill -0 "$server_pid" 2>/dev/null; do sleep 0.1; done
port=$(cat "$work/port" 2>/dev/null)
run address "http://127.0.0.1:$port/from-run-script"
if ((rc == 0)) && grep -qx "/from-run-script" "$work/requests" 2>/dev/null; then
    ok "the address given reaches the server"
else
    fail "the address (exit code $rc, requests: $(cat "$work/requests" 2>/dev/null | tr '\n' ' '))" "$work/address.log"
fi

# 3. A box in front of the window.
export WINEPREFIX="$root/build/user-wineprefix" WINEDEBUG=-all
key='HKLM\SOFTWARE\Corvane Global\Vessa\Skins'
before=$(wine reg query "$key" /v "Default Skin" </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
wine reg add "$key" /v "Default Skin" /t REG_SZ /d no-such-skin /f </dev/null >/dev/null 2>&1
run boxed
if [[ -n $before ]]; then
    wine reg add "$key" /v "Default Skin" /t REG_SZ /d "$before" /f </dev/null >/dev/null 2>&1
else
    wine reg delete "$key" /v "Default Skin" /f </dev/null >/dev/null 2>&1
fi
if ((rc != 0)) && [[ ! -f $work/boxed.png ]] && grep -q 'shows a box captioned "Vessa"' "$work/boxed.log"; then
    ok "a box in front of the window fails the run (exit code $rc)"
else
    fail "a box in front of the window (exit code $rc)" "$work/boxed.log"
fi

echo "$passed passed, $failed failed"
((failed == 0))
