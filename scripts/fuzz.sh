#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer and source-based coverage,
# fuzzes each one from its seed corpus for a while, and prints the line
# coverage that the seeds and the run reached in the drawing-file readers.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
#   SECONDS  how long each target fuzzes after replaying its corpus
#            (default: $ORVEX_FUZZ_SECONDS, else 60); 0 replays the corpus only
#   TARGET   a target name such as fuzz_dxf_reader (default: one per
#            fuzz/fuzz_*.cpp). Target fuzz_NAME_reader or fuzz_NAME reads its
#            seeds from fuzz/corpus/NAME and its dictionary from fuzz/NAME.dict
#            when there is one.
#
#   ORVEX_FUZZ_BUILD_DIR  build folder (default: build-fuzz)
#   ORVEX_FUZZ_MERGE=1    merge what the run found into fuzz/corpus/NAME,
#                         keeping only inputs that reach new code
#   ORVEX_FUZZ_JOBS       parallel build jobs (default: 2)
#   ORVEX_FUZZ_ALSO       more targets to build with clang, not run
#                         (CI: "orvex OrvexGDIDemo")
#   ORVEX_FUZZ_MIN_LINES  fail when a reader source's line coverage is below
#                         this percentage (CI: 80)
#   ORVEX_FUZZ_RUNS=1     a fixed number of inputs per target from a fixed
#                         random seed instead of a time limit, so that two
#                         runs on the same tree try the same inputs whatever
#                         the machine's speed (CI). SECONDS then only scales
#                         the counts: each target's count is about what it
#                         runs in that many seconds on a 2-core machine.
#
# The whole project is configured with clang, so the library builds with it
# too; only the fuzz targets and what they link are built. New inputs go to
# a scratch corpus in the build folder, never into the seeds unless merged.
# Exits non-zero if the build fails or any target crashes, leaks, meets
# undefined behaviour, times out or breaks an oracle; the input that did it
# is kept in BUILD/fuzz-artifacts/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/install-deps.sh

seconds=${1:-${ORVEX_FUZZ_SECONDS:-60}}
[ $# -gt 0 ] && shift
case $seconds in
  '' | *[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do
    targets+=("$(basename "$source" .cpp)")
  done
fi
build=${ORVEX_FUZZ_BUILD_DIR:-build-fuzz}
case $build in /*) ;; *) build=$root/$build ;; esac

CC=${ORVEX_FUZZ_CC:-clang} CXX=${ORVEX_FUZZ_CXX:-clang++}
profdata=${ORVEX_FUZZ_PROFDATA:-llvm-profdata}
llvm_cov=${ORVEX_FUZZ_COV:-llvm-cov}

# ---- build
coverage="-fprofile-instr-generate -fcoverage-mapping"
mkdir -p "$build"
CC=$CC CXX=$CXX cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVEX_BUILD_FUZZ=ON -DORVEX_LIBFUZZER=ON \
  -DCMAKE_CXX_FLAGS="$coverage" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fprofile-instr-generate" >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
read -r -a also <<<"${ORVEX_FUZZ_ALSO:-}"
cmake --build "$build" --parallel "${ORVEX_FUZZ_JOBS:-2}" --target "${targets[@]}" "${also[@]}"

# ---- fuzz
# Inputs per second each target tries on a 2-core machine (measured), for
# the fixed counts of ORVEX_FUZZ_RUNS.
runs_per_second() {
  case $1 in
    dxf) echo 300 ;;
    iges) echo 1500 ;;
    ovx) echo 1500 ;;
    model_sequence) echo 20 ;;
    *) echo 200 ;;
  esac
}
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0
profiles=$build/fuzz-profiles
rm -rf "$profiles" && mkdir -p "$profiles"
failed=()
passed=0
binaries=()
for target in "${targets[@]}"; do
  name=${target#fuzz_}
  name=${name%_reader}
  seeds=$root/fuzz/corpus/$name
  mkdir -p "$seeds"
  found=$build/fuzz-found/$name
  artifacts=$build/fuzz-artifacts/$target
  mkdir -p "$found" "$artifacts"
  options=(-timeout=60 -rss_limit_mb=4096 -print_final_stats=1 "-artifact_prefix=$artifacts/")
  [ -f "fuzz/$name.dict" ] && options+=("-dict=$root/fuzz/$name.dict")
  if [ "$seconds" -eq 0 ]; then
    options+=(-runs=0)
  elif [ "${ORVEX_FUZZ_RUNS:-0}" = 1 ]; then
    options+=(-seed=1 "-runs=$((seconds * $(runs_per_second "$name")))")
  else
    options+=("-max_total_time=$seconds")
  fi
  echo "== $target: $(find "$seeds" -type f | wc -l) seeds, ${seconds}s"
  log=$build/fuzz-$target.log
  if LLVM_PROFILE_FILE="$profiles/$target-%p.profraw" \
      "$build/fuzz/$target" "${options[@]}" "$found" "$seeds" >"$log" 2>&1; then
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done)' "$log" || true
    passed=$((passed + 1))
  else
    tail -n 60 "$log"
    echo "== $target FAILED; input kept in $artifacts" >&2
    failed+=("$target")
    # A run that ends in a finding writes no profile: replay what it had.
    LLVM_PROFILE_FILE="$profiles/$target-%p.profraw" \
      "$build/fuzz/$target" -runs=0 "$found" "$seeds" >"$log.replay" 2>&1 || true
  fi
  # Only the readers' targets hold the reader code whose coverage is reported.
  case $target in *_reader) binaries+=("$build/fuzz/$target") ;; esac
  if [ "${ORVEX_FUZZ_MERGE:-0}" = 1 ] && [ "$seconds" -gt 0 ]; then
    LLVM_PROFILE_FILE=/dev/null "$build/fuzz/$target" -merge=1 "${options[@]:0:2}" "$seeds" "$found" \
      >"$build/fuzz-$target.merge.log" 2>&1 || { tail -n 20 "$build/fuzz-$target.merge.log"; failed+=("$target merge"); }
  fi
done

# ---- coverage of the readers
shopt -s nullglob
raw=("$profiles"/*.profraw)
if [ ${#raw[@]} -gt 0 ] && [ ${#binaries[@]} -gt 0 ]; then
  "$profdata" merge -sparse "${raw[@]}" -o "$profiles/merged.profdata"
  objects=("${binaries[0]}")
  for b in "${binaries[@]:1}"; do objects+=(-object "$b"); done
  readers=(component/src/formats/ovx/ovx.cpp component/src/formats/dxf/dxf*.cpp component/src/formats/iges/iges*.cpp)
  echo "== line coverage of the readers (seeds plus ${seconds}s of fuzzing per target)"
  "$llvm_cov" report "${objects[@]}" -instr-profile="$profiles/merged.profdata" \
    -show-region-summary=false -show-branch-summary=false "${readers[@]/#/$root/}" | tee "$profiles/report.txt"
  if [ -n "${ORVEX_FUZZ_MIN_LINES:-}" ]; then
    # The last column of a file's row is its line coverage.
    low=$(awk -v min="$ORVEX_FUZZ_MIN_LINES" '$1 ~ /\.cpp$/ { c = $NF; sub(/%/, "", c); if (c + 0 < min) print $1 " " $NF }' \
      "$profiles/report.txt" | paste -sd " " -)
    if [ -n "$low" ]; then
      echo "fuzz.sh: line coverage below ${ORVEX_FUZZ_MIN_LINES}%: $low" >&2
      failed+=("coverage")
    fi
  fi
fi

echo "fuzz: $passed passed, ${#failed[@]} failed"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: failed: ${failed[*]}" >&2
  exit 1
fi
