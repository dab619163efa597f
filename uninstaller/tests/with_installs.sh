#!/usr/bin/env bash
# Writes the ad record samples and the installations on the Linux side, then
# runs a test program under Wine that finds them through AD_RECORDS and
# TW_INSTALLS.
#   with_installs.sh <work-folder> <program.exe> [args...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$1; shift
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
python3 "$here/install_fixtures.py" records "$work/records"
python3 "$here/install_fixtures.py" fixtures "$work/installs" "$(id -un)"
export AD_RECORDS="Z:$work/records" TW_INSTALLS="Z:$work/installs"
"$here/../../cmake/wine-run.sh" "$@"
