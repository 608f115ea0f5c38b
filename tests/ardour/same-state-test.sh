#!/usr/bin/env bash
# Same state after saving and reopening in Ardour 7 headless.
#
#   same-state-test.sh PLUGIN WAV_COMPARE CHUNK_DUMP WORK
#                      [intact|wrong-program|flipped-program]
#
# The factory program "16th slapback" is selected through the state chunk.
# Process "edit" sets sound and controller-assignment parameters through
# Ardour, reads every parameter back, exports and saves; the session file must
# then hold our 1736-byte chunk with those values. Process "before" reopens
# it, reads back, exports and saves; process "after" does the same again.
# Parameters must read back identical in all three; "before" and "after" must
# render and re-save identically.
#
# The two other modes prove the comparison can fail: they damage the chunk in
# the saved session before "after" (a wrong current program, or the
# current-program word in the wrong byte order) and pass only when the state
# comparison then fails.
set -euo pipefail
source "$(dirname "$0")/ardour_common.sh"

[ $# -ge 4 ] || { echo "usage: $0 PLUGIN WAV_COMPARE CHUNK_DUMP WORK [MODE]" >&2; exit 2; }
plugin=$1 compare=$2 dump=$3 work=$4 mode=${5:-intact}
case $mode in intact|wrong-program|flipped-program) ;; *) die "unknown mode $mode" ;; esac

ardour_require
rm -rf "$work" && mkdir -p "$work"
ardour_setup "$work" "$(realpath "$plugin")"

readonly kProgram=16         # "16th slapback": tempo-synchronised, no LFO
readonly kProgramName="16th slapback"
readonly kWrongProgram=8
# Sound values (input, output, mix, delay polarity, feedback, feedback
# polarity, Num, Den) and controller assignments for Input, Mix, Fbck and Den.
readonly kSettings=(0=0.55 1=0.45 2=0.6 5=0.75 6=0.5 8=0.75 16=0.5 17=0.4
                    18=0.2 20=0.5 24=0.75 35=0.1)
# The gains glide towards new values through one-pole smoothers in single
# precision, which come to rest where a step rounds to nothing: within about
# 2^-24 / (2 c) of the target, c = 1 - exp(-2 pi 30 Hz / 48 kHz) ~ 0.0039,
# i.e. ~8e-6 per unit gain, on the side they came from. Where the values were
# set, the glide started at the factory program's values; on reopening it
# starts at the new instance's. Four gains in series on a signal of peak 0.5
# bound the difference by ~2e-5; a lost setting moves it by 1e-2 or more.
readonly kGlideResidue=5e-5
# Between two reopenings only the silence Ardour's real-time engine runs
# through the plug-in before the export differs in length (about 3 s, give or
# take a few blocks). That moves nothing but the sign-alternating denormal
# guard offsets left in the delay memory, seen as differences of ~1e-15 in
# otherwise silent samples. Any real difference in state is many orders above.
readonly kSameRender=1e-12

make_test_input "$work/input.wav"
session=$work/session
ardour_create "$session" "$work/input.wav"
session_chunk_get "$session" "$work/created.bin"
chunk_set_word "$work/created.bin" "$CHUNK_CURRENT_OFFSET" "$kProgram"
session_chunk_put "$session" "$work/created.bin"

mkdir -p "$work/edit" "$work/before" "$work/after"
ardour_load "$session" "$work/edit/render.wav" "$work/edit/params.txt" 1 "${kSettings[@]}"
session_chunk_get "$session" "$work/edit/chunk.bin"

# --- Every value set reads back, and the saved chunk holds it. ---
for setting in "${kSettings[@]}"; do
  index=${setting%%=*} value=${setting#*=}
  reported=$(sed -n "s/^$index //p" "$work/edit/params.txt")
  awk -v a="$reported" -v b="$value" 'BEGIN { exit !(a - b < 1e-6 && b - a < 1e-6) }' ||
    die "parameter $index reads $reported after setting $value"
done

chunk=$work/edit/chunk.bin
"$dump" "$chunk" >"$chunk.txt" || die "the session does not hold our $CHUNK_SIZE-byte chunk"
for line in "size $CHUNK_SIZE" "marker $CHUNK_MARKER_HEX" "identifier $CHUNK_ID_HEX" \
             "count $CHUNK_PROGRAM_COUNT" "current $kProgram" "reserved zero"; do
  grep -qx "$line" "$chunk.txt" || die "the saved chunk lacks \"$line\" (see $chunk.txt)"
done
grep -q "^program $kProgram \"$kProgramName\" " "$chunk.txt" ||
  die "program $kProgram's name is not in the saved chunk"
# Each value set must be in the chunk exactly as the plug-in reports it. (Only
# those: with tempo sync on, DlyTime reports the synced delay, which is
# derived and not stored in the program.)
"$dump" --parameters "$chunk" >"$chunk.parameters"
for setting in "${kSettings[@]}"; do
  line=$(grep "^${setting%%=*} " "$work/edit/params.txt")
  grep -qx "$line" "$chunk.parameters" ||
    die "the chunk holds \"$(grep "^${setting%%=*} " "$chunk.parameters")\", the plug-in reported \"$line\""
done
log "the saved chunk is $CHUNK_SIZE bytes, program $kProgram current, holding every value set"

# --- Reopen twice in new processes. ---
ardour_load "$session" "$work/before/render.wav" "$work/before/params.txt" 1
session_chunk_get "$session" "$work/before/chunk.bin"
diff "$work/edit/params.txt" "$work/before/params.txt" >&2 ||
  die "parameters read back differently after reopening"
cmp "$work/edit/chunk.bin" "$work/before/chunk.bin" >&2 ||
  die "the chunk saved after reopening differs from the one saved where the values were set"
echo "render where the values were set against the reopened one:"
"$compare" "$work/edit/render.wav" "$work/before/render.wav" --tolerance "$kGlideResidue" ||
  die "the reopened render differs by more than the glide residue $kGlideResidue"

case $mode in
  wrong-program)
    chunk_set_word "$work/before/chunk.bin" "$CHUNK_CURRENT_OFFSET" "$kWrongProgram" ;;
  flipped-program)
    chunk_swap_word "$work/before/chunk.bin" "$CHUNK_CURRENT_OFFSET" ;;
esac
if [ "$mode" != intact ]; then
  session_chunk_put "$session" "$work/before/chunk.bin"
  log "damaged the saved chunk ($mode): current-program word now" \
      "$(chunk_word "$work/before/chunk.bin" "$CHUNK_CURRENT_OFFSET")"
  # The reference stays the undamaged state.
  chunk_set_word "$work/before/chunk.bin" "$CHUNK_CURRENT_OFFSET" "$kProgram"
fi
ardour_load "$session" "$work/after/render.wav" "$work/after/params.txt" 1
session_chunk_get "$session" "$work/after/chunk.bin"

# --- The state comparison: identical parameters, render and chunk. ---
state_differs=0
if ! diff "$work/before/params.txt" "$work/after/params.txt" >"$work/params.diff"; then
  log "parameters differ after the reopen:"; sed 's/^/    /' "$work/params.diff" >&2
  state_differs=1
fi
echo "render before against after the reopen:"
if ! "$compare" "$work/before/render.wav" "$work/after/render.wav" --tolerance "$kSameRender"; then
  log "the render after the reopen differs"
  state_differs=1
fi
if ! cmp "$work/before/chunk.bin" "$work/after/chunk.bin" >&2; then
  log "the chunk saved after the reopen differs"
  state_differs=1
fi

if [ "$mode" = intact ]; then
  [ "$state_differs" = 0 ] || die "the state did not survive saving and reopening"
  log "parameters, render and chunk identical after the reopen"
else
  [ "$state_differs" = 1 ] || die "a damaged chunk ($mode) went unnoticed by the state comparison"
  log "the state comparison caught the damaged chunk ($mode), as it must"
fi
