#!/usr/bin/env bash
# Builds everything (64-bit, and 32-bit for compile and link only) and runs
# every test under Wine with its own prefix and X display. Exit code: the tests' verdict.
#   scripts/test.sh [ctest option...]     e.g. scripts/test.sh -R framework_tests
set -euo pipefail
started=$SECONDS
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"

"$root/scripts/deps.sh"
source "$root/scripts/build.sh"
source "$root/scripts/wine-env.sh"

mkdir -p "$build"
# With ctest arguments: only the programs of the chosen tests (and what they
# start) are built, and a step that would run none of them is left out.
chosen=()
if (($#)); then
    configure_config "$root" "$build/x64" mingw-x86_64.cmake -DVESSA_APP_DIR="$build/app"
    mapfile -t chosen < <(ctest --test-dir "$build/x64" -N "$@" | sed -n 's/^ *Test *#[0-9]*: *//p')
    if ((${#chosen[@]})); then
        echo "== Building 64-bit: ${chosen[*]}"
        build_config "$root" "$build/x64" mingw-x86_64.cmake -DVESSA_APP_DIR="$build/app" -- "${chosen[@]}"
    fi
else
    echo "== Building 64-bit"
    build_config "$root" "$build/x64" mingw-x86_64.cmake -DVESSA_APP_DIR="$build/app"
    echo "== Building 32-bit (compile and link only)"
    build_config "$root" "$build/x86" mingw-i686.cmake
fi

run_rc=0
if (($# == 0)); then
    echo "== Testing scripts/run.sh: two copies at once"
    set +e
    "$root/scripts/tests/run_twice.sh"
    run_rc=$?
    echo "== Testing scripts/run.sh headless: the main window's picture, an address, a box in front"
    "$root/scripts/tests/run_headless.sh" || run_rc=1
    set -e
fi

mkdir -p "$build/host"
cmake -S "$root/tests/host" -B "$build/host" -DCMAKE_BUILD_TYPE=Debug >"$build/host.configure.log" 2>&1 ||
    { cat "$build/host.configure.log"; exit 1; }
host_rc=0
if (($# == 0)) || ctest --test-dir "$build/host" -N "$@" | grep -q '^ *Test *#'; then
    echo "== Building the native tests (host compiler, sanitizers)"
    cmake --build "$build/host" -j"$(nproc)" 2>&1 | awk '/^\[ *[0-9]+%\]/ { if (/Built target/) print; next } { print }'
    [[ ${PIPESTATUS[0]} == 0 ]] || exit 1

    echo "== Testing natively"
    set +e
    ctest --test-dir "$build/host" --output-on-failure "$@"
    host_rc=$?
    set -e
fi

rc=0
if (($# == 0 || ${#chosen[@]})); then
    wine_env_start "$build" 1
    # Each test program runs in a copy of the prefix (cmake/wine-run.sh); copies a
    # killed run left behind go.
    rm -rf "$WINEPREFIX.runs"
    echo "== Testing under Wine, each program in a prefix and display of its own"
    set +e
    ctest --test-dir "$build/x64" --output-on-failure -j"$(nproc)" "$@"
    rc=$?
    set -e
    rm -rf "$WINEPREFIX.runs"
fi
if (($# && ${#chosen[@]} == 0)) && ! ctest --test-dir "$build/host" -N "$@" | grep -q '^ *Test *#'; then
    echo "No test matches: $*" >&2
    rc=1
fi
if ((rc != 0 || host_rc != 0 || run_rc != 0)); then
    echo "== Failing cases"
    "$root/scripts/failed-cases.sh" "$build/host"
    "$root/scripts/failed-cases.sh" "$build/x64"
    ((run_rc == 0)) || echo "scripts/tests/run_twice.sh or scripts/tests/run_headless.sh (see above)"
fi
((rc == 0)) && rc=$host_rc
((rc == 0)) && rc=$run_rc
elapsed=$((SECONDS - started))
printf '== Wall time: %dm%02ds\n' $((elapsed / 60)) $((elapsed % 60))
exit $rc
