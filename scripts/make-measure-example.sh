#!/usr/bin/env bash
# Makes the example recordings in examples/recordings/: a man's and a child's vowels
# (twelve monophthongs and five glides each, 16 kHz), synthesised with known formants by the
# same synthesiser the measurement's tests use, each with its TextGrid (tiers vowel, word).
# Usage: make-measure-example.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
cmake --build "$build_dir" --target make-measure-example >/dev/null
mkdir -p examples/recordings
"$build_dir/synth/make-measure-example" examples/recordings
ls -l examples/recordings
