#!/usr/bin/env bash
# Builds everything (64-bit, and 32-bit for compile and link only) and runs
# every test under Wine with its own prefix and X display. Exit code: the tests' verdict.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

"$root/scripts/deps.sh"
source "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"

mkdir -p "$build"
echo "== Building 64-bit"
build_config "$root" "$build/x64" mingw-x86_64.cmake
echo "== Building 32-bit (compile and link only)"
build_config "$root" "$build/x86" mingw-i686.cmake

echo "== Building the native tests (host compiler, sanitizers)"
mkdir -p "$build/host"
cmake -S "$root/tests/host" -B "$build/host" -DCMAKE_BUILD_TYPE=Debug >"$build/host.configure.log" 2>&1 ||
    { cat "$build/host.configure.log"; exit 1; }
cmake --build "$build/host" -j"$(nproc)" 2>&1 | grep -Ev '^\[ *[0-9]+%\]' || true
[[ ${PIPESTATUS[0]} == 0 ]] || exit 1

echo "== Testing natively"
set +e
ctest --test-dir "$build/host" --output-on-failure "$@"
host_rc=$?
set -e

wine_env_start "$build" 1
echo "== Testing under Wine (display $DISPLAY)"
set +e
ctest --test-dir "$build/x64" --output-on-failure -j"$(nproc)" "$@"
rc=$?
set -e
((rc == 0)) && rc=$host_rc
exit $rc
