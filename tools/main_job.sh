#!/usr/bin/env bash
# The main job: flies the default scenario over the default twin-turboprop panel and
# writes what the panel showed. Installs what is missing and builds the native tree first
# (GAUGE_BUILD_DIR names an already built folder instead and skips both):
#
#   bash tools/main_job.sh [OUT_FOLDER]        (default: out, in the repository root)
#
# The output folder gets frames/ (one PNG per frame), animation.png (an animated PNG;
# open animation.html in a browser), trace.csv (every gauge's element values per frame)
# and alert.wav (the radio altimeter's alert tone as the sound device played it). The
# job runs inside the output folder, where the radio altimeter finds Sound/RA_BEEP.WAV
# and keeps its decision height in Aircraft/. Each file appears under its real name only
# once it is complete.
set -euo pipefail

out=${1:-out}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
cd "$(dirname "$0")/.."
root=$(pwd)
if [ -z "${GAUGE_BUILD_DIR:-}" ]; then
  bash tools/setup.sh
  cmake --preset native
  cmake --build --preset native
fi
build=${GAUGE_BUILD_DIR:-build}
case $build in /*) ;; *) build=$root/$build ;; esac

for needed in "$build/paneljob" "$build/gauges" "$build/Sound/RA_BEEP.WAV" \
              "$root/host/panels/twin_turboprop.cfg" "$root/host/scenarios/default_flight.txt"; do
  if [ ! -e "$needed" ]; then
    echo "main_job: $needed is missing: build the native tree first" >&2
    exit 1
  fi
done

mkdir -p "$out/Sound"
cp "$build/Sound/RA_BEEP.WAV" "$out/Sound/RA_BEEP.WAV"
# Every run starts from the factory decision height, so runs come out the same.
rm -rf "$out/Aircraft"
mkdir -p "$out/Aircraft"

cd "$out"
"$build/paneljob" --gauges "$build/gauges" \
  --panel "$root/host/panels/twin_turboprop.cfg" \
  --scenario "$root/host/scenarios/default_flight.txt" \
  --out .
echo "main_job: done; open $out/animation.html in a browser"
