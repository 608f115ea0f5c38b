#!/usr/bin/env bash
# The effect core stands on the C++ standard library alone: every quoted
# include in effect/ names another effect/ header, and every angle include a
# standard header or the compiler's SIMD intrinsics (no host, preset, editor,
# tool or third-party header).
set -euo pipefail
core=${1:?usage: check_effect_core_includes.sh EFFECT_DIR}
status=0
while IFS= read -r line; do
  echo "effect core includes outside itself: $line"
  status=1
done < <(grep -rnE '^\s*#\s*include\s*"' "$core" | grep -vE '#\s*include\s*"effect/[a-z_]+\.h"' || true)
while IFS= read -r line; do
  echo "effect core includes a non-standard header: $line"
  status=1
done < <(grep -rnE '^\s*#\s*include\s*<[^>]*[./][^>]*>' "$core" |
           grep -vE '<[a-z0-9]+intrin\.h>' || true)
exit $status
