#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer and runs each for a bounded time on a copy of its seeds.
# A crash, hang, leak or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
dir=build-fuzz
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DPALPERA_SANITIZE=fuzz \
  -DPALPERA_TESTS=OFF > /dev/null
cmake --build "$dir" -j "$(nproc)"
shopt -s nullglob
# The device-event log target also reads logs of megabytes (tens of thousands of records, as a long recording
# makes), from a seed of the shipped logs one after another, which is one valid log again. Such a log takes
# seconds to read under the sanitizers, so its target waits longer before it calls an input a hang.
declare -A options=([event_log]="-max_len=4194304 -timeout=60")
largeSeed() {
  [ "$1" = event_log ] || return 0
  for _ in $(seq 60); do cat fuzz/corpus/event_log/*.xml; done > "$2/large-log"
}
for source in fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  what=${name%_fuzz}
  work=$(mktemp -d)
  [ -d "fuzz/corpus/$what" ] && cp -r "fuzz/corpus/$what/." "$work/"
  largeSeed "$what" "$work"
  echo "fuzz: $name for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 LSAN_OPTIONS=suppressions=$PWD/.ci/lsan.supp \
    "$dir/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
    ${options[$what]:-} "$work" \
    > "$work.log" 2>&1 || { tail -50 "$work.log"; echo "fuzz: $name failed"; exit 1; }
  rm -rf "$work" "$work.log"
done
