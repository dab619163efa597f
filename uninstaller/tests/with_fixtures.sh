#!/usr/bin/env bash
# Writes the queue database fixtures on the Linux side, then runs a test
# program under Wine that finds them through QUEUE_FIXTURES.
#   with_fixtures.sh <work-folder> <program.exe> [args...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$1; shift
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
python3 "$here/queue_fixtures.py" selftest
python3 "$here/queue_fixtures.py" fixtures "$work"
export QUEUE_FIXTURES="Z:$work"
"$here/../../cmake/wine-run.sh" "$@"
