#!/usr/bin/env bash
# Builds the radio altimeter's fuzz targets (WAVE loader, settings-file reader) with
# clang's libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer, and runs each for a
# bounded time from the seed corpus in the repository.
# Usage: run_fuzzers.sh BUILD_DIR [SECONDS_PER_TARGET]   (default 30 s)
# Exits non-zero when a target finds a crash, a leak or an overrun; the input that
# caused it is left in BUILD_DIR/artifacts/.
set -euo pipefail
if [[ $# -lt 1 ]]; then
  echo "usage: $0 BUILD_DIR [SECONDS_PER_TARGET]" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
build_dir=$(cd "$1" && pwd)
seconds=${2:-30}
fuzz_dir=$source_dir/tests/modules/radio_altimeter/fuzz
module_dir=$source_dir/modules/radio_altimeter
platform_sources=("$source_dir/platform/platform_control.cpp" "$source_dir/platform/file_services.cpp"
                  "$source_dir/platform/sound_services.cpp")
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer -I"$source_dir/framework" -I"$source_dir/platform" -I"$module_dir" -I"$fuzz_dir")

declare -A sources=(
  [wav_loader]="$module_dir/alert_sound.cpp"
  [store_reader]="$module_dir/decision_height_store.cpp"
)
declare -A corpora=([wav_loader]=wav_corpus [store_reader]=store_corpus)

# The targets write their input to a file each run; on a memory file system that costs
# no disk flushes (replacing a file by rename makes ext4 flush it).
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then
  export TMPDIR=/dev/shm
fi

status=0
mkdir -p "$build_dir/artifacts"
for target in wav_loader store_reader; do
  binary=$build_dir/${target}_fuzzer
  echo "== building $target"
  clang++ "${flags[@]}" -o "$binary" "$fuzz_dir/${target}_fuzzer.cpp" ${sources[$target]} "${platform_sources[@]}"
  # Work on a copy of the seeds so the repository's corpus stays small.
  corpus=$build_dir/corpus_$target
  mkdir -p "$corpus"
  cp -n "$fuzz_dir/${corpora[$target]}"/* "$corpus"/
  echo "== running $target for ${seconds}s"
  log=$build_dir/$target.log
  if "$binary" "$corpus" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
       -artifact_prefix="$build_dir/artifacts/$target-" > "$log" 2>&1; then
    executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    echo "$target: no findings, ${executions:-?} executions, corpus $(ls "$corpus" | wc -l) inputs"
  else
    echo "$target: FINDING (see $log and $build_dir/artifacts/)"
    grep -E 'ERROR|SUMMARY|Test unit written' "$log" | head -5 || true
    status=1
  fi
done
exit $status
