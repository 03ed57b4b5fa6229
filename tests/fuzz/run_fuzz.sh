#!/bin/bash
# Fuzzes the ICO parser for a while, natively, under AddressSanitizer and UBSan, from the seed
# corpus and the program's own icon. Prints the executions; fails on any finding.
# Usage: run_fuzz.sh <seconds> <work directory> <program icon.ico>
set -euo pipefail
seconds=$1
work=$2
icon=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$work"
mkdir -p "$work/corpus"
cp "$root"/tests/fuzz/corpus/* "$work/corpus/"
cp "$icon" "$work/corpus/quillora.ico"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I"$root" \
    "$root/tests/fuzz/ico_fuzz.cpp" "$root/shell/ico.cpp" -o "$work/ico_fuzz"
cd "$work"
./ico_fuzz -max_total_time="$seconds" -print_final_stats=1 -max_len=70000 corpus 2>"$work/fuzz.log" || {
    tail -n 40 "$work/fuzz.log"
    exit 1
}
grep -E 'stat::number_of_executed_units|stat::new_units_added' "$work/fuzz.log"
echo "no crashes in $seconds s"
