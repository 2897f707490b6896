#!/usr/bin/env bash
# Runs the whole test suite in a build with clang's source-based coverage and prints line and branch coverage
# per source folder, then for all of them together.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
dir=build-coverage
jobs=${JOBS:-$(nproc)}
folders=(framework devices commands ui platform host_api host include tools)
# Profiles are read only by the llvm tools of the compiler's own version, which sit beside it.
llvm=$(dirname "$(readlink -f "$(command -v clang++)")")

# Counter relocation lets every process keep its profile up to date as it runs (%c below), so the processes
# that end without running exit handlers (the command-line host, death tests) are counted too.
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping -mllvm -runtime-counter-relocation" > /dev/null
cmake --build "$dir" -j "$jobs"

# Every process writes its own profile (%p), and so does every instrumented program or module in it (%m):
# the test programs, the palpera-host runs they start and the module libraries those load.
rm -rf "$dir/profiles"
LLVM_PROFILE_FILE="$PWD/$dir/profiles/%p-%m%c.profraw" ctest --test-dir "$dir" --output-on-failure -j "$jobs"
find "$dir/profiles" -name '*.profraw' > "$dir/profiles.list"
"$llvm/llvm-profdata" merge -sparse -f "$dir/profiles.list" -o "$dir/coverage.profdata"

objects=()
while read -r binary; do
  objects+=(${objects:+-object} "$binary")
done < <(find "$dir" -name CMakeFiles -prune -o -type f \( -name '*.so' -o -perm -u+x \) -print | sort)

# The TOTAL line of the report over the given sources: lines and branches, and the share covered. An inline
# function a program never uses has an empty record there, which llvm-cov reports as mismatched data; its
# record from the programs that use it is the one counted.
summary() {
  "$llvm/llvm-cov" report -instr-profile "$dir/coverage.profdata" "${objects[@]}" "$@" \
    2> >(grep -v 'mismatched data' >&2) | awk '$1 == "TOTAL" { printf "%8d %9s %9d %9s\n", $8, $10, $11, $13 }'
}

printf '%-11s %8s %9s %9s %9s\n' folder lines covered branches covered
for folder in "${folders[@]}"; do
  printf '%-11s %s\n' "$folder/" "$(summary "$PWD/$folder")"
done
printf '%-11s %s\n' total "$(summary "${folders[@]/#/$PWD/}")"
