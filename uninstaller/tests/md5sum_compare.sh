#!/usr/bin/env bash
# MD5 of random files of varied sizes through twharness under Wine, against
# the system's md5sum of the same files (and of copies with a span zeroed).
#   md5sum_compare.sh <twharness.exe> <work-folder>
set -euo pipefail
harness=$1 work=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$work"; mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

steps=() expected=()
n=0
for size in 0 1 3 55 56 57 63 64 65 127 128 1023 1024 1025 2047 2048 3000 65537 1048579; do
    f="$work/r$size.bin"
    head -c "$size" /dev/urandom >"$f"
    steps+=(md5 "Z:$f")
    expected+=("$(md5sum <"$f" | cut -d' ' -f1)")
    n=$((n + 1))
done
# Zeroed spans: offset length pairs over a 5000-byte file.
f="$work/span.bin"
head -c 5000 /dev/urandom >"$f"
for span in "14 16" "0 10" "1020 10" "1024 1024" "2040 9" "4995 5"; do
    read -r off len <<<"$span"
    copy="$work/span-$off-$len.bin"
    python3 - "$f" "$copy" "$off" "$len" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
off, length = int(sys.argv[3]), int(sys.argv[4])
data[off:off + length] = bytes(length)
open(sys.argv[2], 'wb').write(data)
PY
    steps+=(md5 "Z:$f" "$off" "$len")
    expected+=("$(md5sum <"$copy" | cut -d' ' -f1)")
done

got=$("$here/../../cmake/wine-run.sh" "$harness" "${steps[@]}" | tr -d '\r')
mapfile -t lines <<<"$got"
fail=0 pass=0
for i in "${!expected[@]}"; do
    if [[ "${lines[$i]:-}" == "${expected[$i]}" ]]; then
        pass=$((pass + 1))
    else
        fail=$((fail + 1))
        echo "case $i: md5sum ${expected[$i]}, twharness ${lines[$i]:-<none>}"
    fi
done
echo "$pass passed, $fail failed"
((fail == 0))
