#!/usr/bin/env bash
# Renders a WAV file through a VST 2.4 plug-in inside Ardour 7 headless.
#
#   ardour-render.sh PLUGIN.so IN.wav OUT.wav [options]
#     --set INDEX=VALUE  set a parameter (normalised) through Ardour and save
#                        it in the session; repeatable
#     --program N        select the plug-in's internal program N through its
#                        state chunk: the chunk Ardour saved is taken from the
#                        session file, its current-program word (offset 12) is
#                        changed and Ardour restores it on loading; --set
#                        values are then set on top of it
#     --block N          Ardour's block size (default 1024)
#     --params FILE      write "INDEX VALUE" for every parameter as the plug-in
#                        reports it just before the export
#     --keep DIR         keep the work folder (session, private config and
#                        cache, logs) in DIR instead of a temporary one
#
# The render itself always runs in a fresh Ardour process that restores the
# plug-in from the saved session, as a user reopening the project would.
# IN.wav must be stereo; its rate is the session's. OUT.wav is a 32-bit float
# WAV of the same length. Exits 77 (skip) when Ardour is not installed.
set -euo pipefail
source "$(dirname "$0")/ardour_common.sh"

usage() { sed -n '2,/^set -e/p' "$0" | grep '^#' | sed 's/^# \{0,1\}//' >&2; exit 2; }

[ $# -ge 3 ] || usage
plugin=$(realpath "$1") input=$(realpath "$2") output=$(realpath -m "$3")
shift 3
sets=() program="" params="" keep=""
while [ $# -gt 0 ]; do
  case $1 in
    --set) [ $# -ge 2 ] || usage; sets+=("$2"); shift 2 ;;
    --program) [ $# -ge 2 ] || usage; program=$2; shift 2 ;;
    --block) [ $# -ge 2 ] || usage; ARDOUR_BLOCK=$2; shift 2 ;;
    --params) [ $# -ge 2 ] || usage; params=$(realpath -m "$2"); shift 2 ;;
    --keep) [ $# -ge 2 ] || usage; keep=$2; shift 2 ;;
    *) usage ;;
  esac
done

ardour_require
if [ -n "$keep" ]; then
  mkdir -p "$keep"; work=$(realpath "$keep")
else
  work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fi
ardour_setup "$work" "$plugin"
session=$work/session
if [ -z "$program" ]; then
  ardour_create "$session" "$input" "${sets[@]}"
else
  # A program selection replaces every sound value, so values to set on top
  # of it go in a second run after the chunk is in place.
  ardour_create "$session" "$input"
  session_chunk_get "$session" "$work/chunk.bin"
  chunk_set_word "$work/chunk.bin" "$CHUNK_CURRENT_OFFSET" "$program"
  session_chunk_put "$session" "$work/chunk.bin"
  if [ ${#sets[@]} -gt 0 ]; then
    ardour_load "$session" - "$work/params-set.txt" 1 "${sets[@]}"
  fi
fi

ardour_load "$session" "$work/exports/render.wav" "${params:-$work/params.txt}" 0
cp "$work/exports/render.wav" "$output"
echo "rendered through Ardour: $output"
