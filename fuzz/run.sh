#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for the given seconds on
# a copy of its seed corpus. Exits non-zero when a target finds a crash.
# Usage: fuzz/run.sh [SECONDS]   (FUZZ_BUILD_DIR picks the build folder)
set -euo pipefail

seconds="${1:-30}"
here="$(cd "$(dirname "$0")" && pwd)"
build="${FUZZ_BUILD_DIR:-$here/../build/fuzz}"
targets=(set_chunk preset_decoder bank_decoder midi_decoder)

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
mkdir -p "$build"
cmake -S "$here" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
for name in "${targets[@]}"; do
  cmake --build "$build" --target "${name}_fuzzer" -j2 >"$build/build-$name.log" 2>&1 ||
    { tail -n 60 "$build/build-$name.log"; exit 1; }
done

failed=0
for name in "${targets[@]}"; do
  work="$build/corpus/$name"
  mkdir -p "$work" "$build/artifacts"
  cp -n "$here/corpus/$name/"* "$work/" 2>/dev/null || true
  echo "== ${name}_fuzzer for ${seconds} s"
  if ! "$build/${name}_fuzzer" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
      -artifact_prefix="$build/artifacts/${name}-" -print_final_stats=1 \
      "$work" >"$build/$name.log" 2>&1; then
    tail -n 40 "$build/$name.log"
    echo "FAILED: ${name}_fuzzer (artifacts in $build/artifacts)"
    failed=$((failed + 1))
  else
    grep -E '^(stat::number_of_executed_units|Done)' "$build/$name.log" || true
  fi
done
total=${#targets[@]}
echo "fuzz: $((total - failed)) passed, $failed failed"
exit $((failed > 0))
