#!/usr/bin/env bash
# MD5 over a 100 MB file: CMd5Checksum under Wine (timed inside the program)
# next to md5sum on the same file in the same run, as a ratio. Aim: above 0.8.
#   uninstaller/bench/md5_bench.sh [build-folder]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(realpath -m "${1:-$root/build}")
source "$root/scripts/wine-env.sh"
cmake --build "$build/x64" --target md5_bench >/dev/null
wine_env_start "$build" 0
file=$(mktemp -p "$build" md5bench.XXXXXX)
trap 'rm -f "$file"; wine_env_stop' EXIT
head -c 100000000 /dev/urandom >"$file"
cat "$file" >/dev/null  # warm the page cache for both

best=1e30
for _ in 1 2 3; do
    t0=$(date +%s%N); md5sum "$file" >/dev/null; t1=$(date +%s%N)
    best=$(python3 -c "print(min($best, ($t1 - $t0) / 1e9))")
done
out=$("$root/cmake/wine-run.sh" "$build/x64/bin/md5_bench.exe" "Z:$file" 3 | tr -d "\r")
echo "$out"
ours=$(sed -n 's/^CMd5Checksum: \([0-9.]*\) s.*/\1/p' <<<"$out")
python3 - "$best" "$ours" <<'PY'
import sys
md5sum, ours = float(sys.argv[1]), float(sys.argv[2])
print(f"md5sum: {md5sum:.3f} s, {100 / md5sum:.1f} MB/s (best of 3)")
print(f"ratio (md5sum time / CMd5Checksum time): {md5sum / ours:.2f}  aim: above 0.8")
PY
