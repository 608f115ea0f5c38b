#!/usr/bin/env bash
# Builds the plug-in and our host tool, then renders audio through the plug-in:
#   ./run.sh [IN.wav] [--program NAME] [other render options]
# Without an input file the host tool's built-in test signal is used.
set -euo pipefail
cd "$(dirname "$0")"
HALDEN_WITH_ARDOUR=0 scripts/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build/release -j"$(nproc)" --target MarlowHalden halden-host >/dev/null

input=()
if [ $# -gt 0 ] && [ "${1#--}" = "$1" ]; then input=("$1"); shift; fi
[ $# -eq 0 ] && set -- --program "wow tape"

mkdir -p out
output=$PWD/out/halden-render.wav
build/release/halden-host render build/release/MarlowHalden.so \
  "${input[@]}" "$output" "$@"
echo "Rendered through MarlowHalden.so: $output"
