#!/usr/bin/env bash
# Names the failing cases of a build folder's last ctest run, program by
# program: ctest's own summary names only the programs.
#   scripts/failed-cases.sh <ctest-folder>
log="$1/Testing/Temporary/LastTest.log"
[[ -f $log ]] || exit 0
awk '
    /^[0-9]+\/[0-9]+ Testing: / { name = $3; passed = 0; cases = ""; delete seen; next }
    /^\[  FAILED  \] [A-Za-z_]/ { if (!($4 in seen)) { seen[$4] = 1; cases = cases " " $4 } next }
    /^Test Passed\./ { passed = 1; next }
    /^"[^"]+" end time:/ {
        if (!passed) printf "%s:%s\n", name, cases == "" ? " (see its output above)" : cases
    }
' "$log" | sort
