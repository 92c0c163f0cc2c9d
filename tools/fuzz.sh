#!/bin/sh
# Builds the login table's fuzz target natively and runs it for a bounded
# time (seconds, 60 unless given). New inputs go to build/native-fuzz/corpus,
# never into the repository's seeds; a crash leaves its input there too and
# ends the script with a non-zero code.
set -e
cd "$(dirname "$0")/.."
seconds="${1:-60}"
out=build/native-fuzz
mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I. \
  environment/LoginTable.cpp tests/fuzz/LoginTableFuzz.cpp -o "$out/login_table_fuzz"
"$out/login_table_fuzz" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$out/" \
  "$out/corpus" tests/fuzz/corpus/login-table
