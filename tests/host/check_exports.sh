#!/usr/bin/env bash
# The shared object must export exactly VSTPluginMain and main.
set -euo pipefail
exports=$(nm -D --defined-only "$1" | awk '$2 ~ /^[TtWwDdBbVv]$/ {print $3}' | sort | tr '\n' ' ')
if [ "$exports" != "VSTPluginMain main " ]; then
  echo "unexpected exports: $exports" >&2
  exit 1
fi
echo "exports: $exports"
