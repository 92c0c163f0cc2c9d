#!/bin/sh
# Builds the native fuzz targets, the login table's reader and the registry
# value reader, and runs each for its share of a bounded time (seconds, 60
# unless given, split between them). New inputs go to
# build/native-fuzz/corpus/<target>, never into the repository's seeds; a
# crash leaves its input in build/native-fuzz and ends the script with a
# non-zero code once both targets have run.
set -e
cd "$(dirname "$0")/.."
seconds="${1:-60}"
out=build/native-fuzz
mkdir -p "$out"
build() {  # output, sources...
  name="$1"; shift
  clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I. \
    "$@" -o "$out/$name"
}
build login_table_fuzz environment/LoginTable.cpp tests/fuzz/LoginTableFuzz.cpp
build registry_value_fuzz environment/RegistryValue.cpp tests/fuzz/RegistryValueFuzz.cpp

# A time of 0 would mean no limit to libFuzzer: each target gets a second at least.
first=$((seconds / 2))
[ "$first" -ge 1 ] || first=1
second=$((seconds - first))
[ "$second" -ge 1 ] || second=1

failed=0
run() {  # target, corpus name, seconds
  mkdir -p "$out/corpus/$2"
  "$out/$1" -max_total_time="$3" -print_final_stats=1 -artifact_prefix="$out/$2-" \
    "$out/corpus/$2" "tests/fuzz/corpus/$2" || failed=1
}
run login_table_fuzz login-table "$first"
run registry_value_fuzz registry-value "$second"
exit "$failed"
