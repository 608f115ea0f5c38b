#!/usr/bin/env bash
# Ardour restores a plug-in by sending the saved parameter values, then
# program 0, then the chunk, then a second resume without a suspend. This
# test saves a session whose parameter values disagree with its chunk and
# checks that what the chunk restored is what the plug-in holds afterwards:
# Ardour's read-back equals the chunk's current program and assignments, and
# equals what our host reads after restoring the same chunk; and Ardour's
# render equals ours from the same chunk.
#
#   call-order-test.sh PLUGIN HALDEN_HOST WAV_COMPARE CHUNK_DUMP WORK
set -euo pipefail
source "$(dirname "$0")/ardour_common.sh"

[ $# -ge 5 ] || { echo "usage: $0 PLUGIN HALDEN_HOST WAV_COMPARE CHUNK_DUMP WORK" >&2; exit 2; }
plugin=$(realpath "$1") host=$2 compare=$3 dump=$4 work=$5

ardour_require
rm -rf "$work" && mkdir -p "$work"
ardour_setup "$work" "$plugin"

# Saved as parameter values: Mix, Fbck, Rate and the controller assignments
# of Input and ManVCO.
readonly kSavedValues=(2=0.8 6=0.3 12=0.7 18=0.25 27=0.6)
# The chunk instead selects "doubler" and carries other assignments for
# Input (0.75) and ManVCO (0.5), written as float bit patterns.
readonly kChunkProgram=8
readonly kAssignmentChanges=(18=0x3f400000 27=0x3f000000)
readonly kTolerance=1e-6

make_test_input "$work/input.wav"
session=$work/session
ardour_create "$session" "$work/input.wav" "${kSavedValues[@]}"
session_chunk_get "$session" "$work/chunk.bin"
chunk_set_word "$work/chunk.bin" "$CHUNK_CURRENT_OFFSET" "$kChunkProgram"
for change in "${kAssignmentChanges[@]}"; do
  index=${change%%=*}
  chunk_set_word "$work/chunk.bin" $((CHUNK_ASSIGNMENTS_OFFSET + 4 * (index - SOUND_PARAMETERS))) \
    $((${change#*=}))
done
session_chunk_put "$session" "$work/chunk.bin"
"$dump" --parameters "$work/chunk.bin" >"$work/expected.txt"

# The test means something only if the parameter values Ardour sends first
# disagree with the chunk on every one of them.
for saved in "${kSavedValues[@]}"; do
  expected=$(sed -n "s/^${saved%%=*} //p" "$work/expected.txt")
  awk -v a="$expected" -v b="${saved#*=}" 'BEGIN { exit !(a - b > 1e-6 || b - a > 1e-6) }' ||
    die "parameter ${saved%%=*} is ${saved#*=} in both the saved values and the chunk"
done

ardour_load "$session" "$work/ardour.wav" "$work/ardour-params.txt" 0
diff "$work/expected.txt" "$work/ardour-params.txt" >&2 ||
  die "after Ardour's loading sequence the plug-in does not hold what the chunk restored"
log "Ardour's read-back equals the chunk's state (program $kChunkProgram and its assignments)"

{
  printf 'open\nrate %s\nblock %s\nresume\nchunk set %s\n' \
    "$(soxi -r "$work/input.wav")" "$ARDOUR_BLOCK" "$work/chunk.bin"
  for ((i = 0; i < ALL_PARAMETERS; ++i)); do echo "get $i"; done
  echo close
} >"$work/readback.script"
"$host" script "$plugin" "$work/readback.script" | sed -n 's/^param //p' >"$work/ours-params.txt"
diff "$work/expected.txt" "$work/ours-params.txt" >&2 ||
  die "our host reads a different state from the same chunk"
log "our host reads the same state from the same chunk"

# "doubler" modulates the clock: align the LFO phase (see match_silent_blocks).
match_silent_blocks "$work/ardour.wav" "$work/ours.wav" "$compare" "$kTolerance" \
  "$host" render "$plugin" "$work/input.wav" "$work/ours.wav" --block "$ARDOUR_BLOCK" \
  --chunk "$work/chunk.bin"
