#!/usr/bin/env bash
# Rewrites factory_programs.txt and render_fingerprints.txt from the current
# engine. Run only after an intended change of the sound, and listen to the
# programs first.
#   usage: tests/effect/golden/regenerate.sh BUILD_DIR
set -euo pipefail
build_dir=${1:?usage: regenerate.sh BUILD_DIR}
HALDEN_WRITE_GOLDEN=1 "$build_dir/tests/effect/test_effect_golden" \
  --gtest_filter='GoldenPrograms.*:RenderFingerprints.*'
