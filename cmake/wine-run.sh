#!/usr/bin/env bash
# ctest's emulator: runs a Windows program under Wine without handing ctest's
# pipes to Wine, whose helper processes would otherwise keep them open.
out=$(mktemp)
wine "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
