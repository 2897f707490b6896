#!/usr/bin/env bash
# Builds every fuzz target with clang's libFuzzer and runs each for a bounded time on a copy of its seeds, as
# many at once as there are cores. A crash, hang, leak or sanitizer report fails the run.
#   FUZZ_SECONDS  how long each target runs (default 30)
#   FUZZ_BUILD    the build folder (default build-fuzz); configured here in the mode "fuzz" when it is new, so a
#                 build of that mode made for the tests serves the fuzzing too
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
dir=${FUZZ_BUILD:-build-fuzz}
[ -f "$dir/CMakeCache.txt" ] ||
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DPALPERA_SANITIZE=fuzz \
    -DPALPERA_TESTS=OFF > /dev/null
grep -q '^PALPERA_SANITIZE:STRING=fuzz$' "$dir/CMakeCache.txt" || {
  echo "fuzz: $dir is not a build of the mode PALPERA_SANITIZE=fuzz"
  exit 1
}
names=()
for source in fuzz/*_fuzz.cpp; do names+=("$(basename "$source" .cpp)"); done
cmake --build "$dir" -j "$(nproc)" --target "${names[@]}"

# The device-event log target also reads logs of megabytes (tens of thousands of records, as a long recording
# makes), from a seed of the shipped logs one after another, which is one valid log again. Such a log takes
# seconds to read under the sanitizers, so its target waits longer before it calls an input a hang.
declare -A options=([event_log]="-max_len=4194304 -timeout=60")
largeSeed() {
  [ "$1" = event_log ] || return 0
  for _ in $(seq 60); do cat fuzz/corpus/event_log/*.xml; done > "$2/large-log"
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One target on a copy of its seeds; its output is kept in the scratch folder for a failure to show.
fuzzTarget() {
  local name=$1 what=${1%_fuzz}
  local work="$scratch/$what"
  mkdir "$work"
  [ -d "fuzz/corpus/$what" ] && cp -r "fuzz/corpus/$what/." "$work/"
  largeSeed "$what" "$work"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 LSAN_OPTIONS=suppressions=$PWD/.ci/lsan.supp \
    "$dir/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
    ${options[$what]:-} "$work" > "$work.log" 2>&1
}

failed=()
report() {  # the outcome of the target whose process ended with status $2
  if [ "$2" -eq 0 ]; then
    echo "fuzz: $1 ran ${seconds}s without a finding"
  else
    tail -50 "$scratch/${1%_fuzz}.log"
    echo "fuzz: $1 failed"
    failed+=("$1")
  fi
}
declare -A running=()  # process id -> target
for name in "${names[@]}"; do
  if [ ${#running[@]} -ge "$(nproc)" ]; then
    status=0
    wait -n -p ended "${!running[@]}" || status=$?
    report "${running[$ended]}" "$status"
    unset "running[$ended]"
  fi
  fuzzTarget "$name" &
  running[$!]=$name
done
for pid in "${!running[@]}"; do
  status=0
  wait "$pid" || status=$?
  report "${running[$pid]}" "$status"
done
[ ${#failed[@]} -eq 0 ] || {
  echo "fuzz: failed: ${failed[*]}"
  exit 1
}
