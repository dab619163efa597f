#!/usr/bin/env bash
# Writes the ad record samples and the installations on the Linux side, then
# runs a test program under Wine that finds them through AD_RECORDS and
# TW_INSTALLS.
#   with_installs.sh <work-folder> [--wine-exit TwUninstaller.exe] <program.exe> [args...]
# --wine-exit first checks the exit code a shell sees for a run without a name.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$1; shift
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
if [[ ${1:-} == --wine-exit ]]; then
    set +e
    wine "$2" -noerrorgui -appname </dev/null >/dev/null 2>&1
    rc=$?
    set -e
    if [[ $rc != 255 ]]; then echo "TwUninstaller without a name exited $rc through wine, not 255"; exit 1; fi
    echo "TwUninstaller without a name: 255 through wine"
    shift 2
fi
python3 "$here/install_fixtures.py" records "$work/records"
python3 "$here/install_fixtures.py" fixtures "$work/installs" "$(id -un)"
export AD_RECORDS="Z:$work/records" TW_INSTALLS="Z:$work/installs"
"$here/../../cmake/wine-run.sh" "$@"
