#!/usr/bin/env bash
# Builds the plug-in, its tools and tests, and runs the whole suite:
#   - an AddressSanitizer build with every test but the real-host ones,
#   - a ThreadSanitizer build with the tests that run threads,
#   - a bounded run of each fuzz target,
#   - last, an optimised build with every test (the host tests drive a real host).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

build build/release

build build/asan -DHALDEN_SANITIZE=address -DHALDEN_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build/asan --output-on-failure -j"$jobs" -LE host

build build/tsan -DHALDEN_SANITIZE=thread -DHALDEN_BUILD_BENCH=OFF
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build/tsan --output-on-failure -j"$jobs" -L threads

if [ -x fuzz/run.sh ]; then
  fuzz/run.sh "${HALDEN_FUZZ_SECONDS:-30}"
fi

# Last, the full suite of the optimised build, whose summary closes the run.
ctest --test-dir build/release --output-on-failure -j"$jobs"
