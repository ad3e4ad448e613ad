#!/usr/bin/env bash
# Fuzzes everything a cycle file from a drive reaches, for the given number of seconds
# (default 60). Inputs that once broke kvaro are kept in tests/fixtures/fuzz/ and replayed
# first; a new finding is written to build-fuzz/findings/ and fails the run.
#   tools/fuzz.sh [SECONDS]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"
seconds=${1:-60}

# The fuzz preset of CMakePresets.json: clang, build-fuzz/, the fuzz target and kvaro-gen.
cmake --preset fuzz >/dev/null
# Quiet when it builds; the compiler's words when it does not.
if ! out=$(cmake --build --preset fuzz 2>&1); then
    echo "$out" >&2
    exit 1
fi

# Seeds: small generated cycles of every heating type and encoding.
seeds=build-fuzz/seeds
corpus=build-fuzz/corpus
findings=build-fuzz/findings
mkdir -p "$seeds" "$corpus" "$findings"
n=0
for type in 0 1 3; do
    for encoding in plain utf8 utf16; do
        n=$((n + 1))
        build-fuzz/bin/kvaro-gen cycle "$seeds/P$n.csv" --type "$type" --burners 2 \
            --records 12 --period 30 --seed "$n" --encoding "$encoding" \
            --start "2024-03-14 23:58:00" >/dev/null
    done
done

export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if compgen -G "tests/fixtures/fuzz/*" >/dev/null; then
    echo "kvaro: replaying kept fuzz findings"
    build-fuzz/bin/fuzz_cyclefile tests/fixtures/fuzz/* 2>&1 | tail -n 2
fi
echo "kvaro: fuzzing the cycle file readers for $seconds s"
build-fuzz/bin/fuzz_cyclefile "$corpus" "$seeds" -max_total_time="$seconds" -max_len=16384 \
    -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$findings/" -print_final_stats=1 \
    2> build-fuzz/fuzz.log || {
    tail -n 60 build-fuzz/fuzz.log
    echo "kvaro: the fuzzer found a fault; the input is in $findings/" >&2
    exit 1
}
grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|cov:" build-fuzz/fuzz.log | tail -n 3
