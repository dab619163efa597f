#!/usr/bin/env bash
# For development: builds only the named test targets in a build folder of
# your own and runs them under Wine (own prefix, own Xvfb).
#   scripts/dev-test.sh <build-folder> [--x86] <target>...
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1"); shift
x86=0
if [[ ${1:-} == --x86 ]]; then x86=1; shift; fi

source "$root/scripts/wine-env.sh"
mkdir -p "$build"
if [[ $x86 == 1 ]]; then
    cmake -S "$root" -B "$build/x86" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build/x86" -j"$(nproc)" --target "$@"
    exit 0
fi
cmake -S "$root" -B "$build/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/x64" -j"$(nproc)" --target "$@"
wine_env_start "$build" 1
regex=$(IFS='|'; echo "^($*)\$")
set +e
ctest --test-dir "$build/x64" --output-on-failure -R "$regex"
rc=$?
((rc == 0)) || "$root/scripts/failed-cases.sh" "$build/x64"
exit $rc
