#!/usr/bin/env bash
# Same sound in Ardour and in our host tool: renders one input through the
# plug-in in Ardour 7 headless and with halden-host at the same rate and block
# size, and passes when they agree within 1e-6 per sample.
#
#   same-sound-test.sh PLUGIN HALDEN_HOST WAV_COMPARE WORK [--program NAME]
#                      [--set INDEX=VALUE ...] [--modulated]
#
# --program selects a factory program (through the state chunk in Ardour, by
# name in our host); --set values are set through Ardour and on our host's
# command line. --modulated marks settings whose LFO moves the clock.
set -euo pipefail
source "$(dirname "$0")/ardour_common.sh"

[ $# -ge 4 ] || { echo "usage: $0 PLUGIN HALDEN_HOST WAV_COMPARE WORK [options]" >&2; exit 2; }
plugin=$1 host=$2 compare=$3 work=$4
shift 4
program="" sets=() modulated=0
while [ $# -gt 0 ]; do
  case $1 in
    --program) program=$2; shift 2 ;;
    --set) sets+=("$2"); shift 2 ;;
    --modulated) modulated=1; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done

ardour_require
rm -rf "$work" && mkdir -p "$work/host-config"
# Our host's plug-in instance must not read the user's stored defaults either.
export XDG_CONFIG_HOME=$work/host-config

readonly kTolerance=1e-6
# Ardour's engine runs the plug-in on silence before an export starts, so the
# start-up glides have settled by then; our host gets this much silence too.
readonly kPrerollSeconds=0.5

make_test_input "$work/input.wav"

ardour_options=() host_options=(--block "$ARDOUR_BLOCK")
if [ -n "$program" ]; then
  index=$("$host" info "$plugin" | sed -n "s/^program \([0-9]*\): \"$program\"\$/\1/p")
  [ -n "$index" ] || die "the plug-in has no program \"$program\""
  ardour_options+=(--program "$index")
  host_options+=(--program "$program")
fi
if [ ${#sets[@]} -gt 0 ]; then
  for setting in "${sets[@]}"; do ardour_options+=(--set "$setting"); done
  host_options+=(--set "${sets[@]}")
fi

bash "$(dirname "$0")/ardour-render.sh" "$plugin" "$work/input.wav" "$work/ardour.wav" \
  --keep "$work/ardour" --params "$work/ardour-params.txt" "${ardour_options[@]}" >/dev/null

# The plug-in must also report the same values in both hosts.
{
  printf 'open\nrate %s\nblock %s\nresume\n' "$(soxi -r "$work/input.wav")" "$ARDOUR_BLOCK"
  [ -z "$program" ] || printf 'program "%s"\n' "$program"
  for setting in ${sets[@]+"${sets[@]}"}; do echo "set ${setting%%=*} ${setting#*=}"; done
  count=$(wc -l <"$work/ardour-params.txt")
  for ((i = 0; i < count; ++i)); do echo "get $i"; done
  echo close
} >"$work/readback.script"
"$host" script "$plugin" "$work/readback.script" | sed -n 's/^param //p' >"$work/ours-params.txt"
diff "$work/ardour-params.txt" "$work/ours-params.txt" >&2 ||
  die "the plug-in reports different parameter values in Ardour and in our host"

render_ours() {  # render_ours OUT.wav PREROLL_SECONDS
  "$host" render "$plugin" "$work/input.wav" "$1" --preroll "$2" "${host_options[@]}" >/dev/null
}

render_ours "$work/ours.wav" "$kPrerollSeconds"
if [ "$modulated" = 0 ]; then
  "$compare" "$work/ardour.wav" "$work/ours.wav" --tolerance "$kTolerance" ||
    die "Ardour's render differs from ours by more than $kTolerance"
  exit 0
fi

# A modulated clock also needs the LFO phase aligned (see match_silent_blocks).
# Without alignment the renders must differ clearly, or the settings do not
# modulate anything audible within the input and the alignment proves nothing.
readonly kAudibleModulation=1e-3
echo "with a ${kPrerollSeconds} s pre-roll (LFO phase not aligned):"
if "$compare" "$work/ardour.wav" "$work/ours.wav" --tolerance "$kAudibleModulation"; then
  die "the LFO phase makes no audible difference with these settings"
fi
match_silent_blocks "$work/ardour.wav" "$work/ours-aligned.wav" "$compare" "$kTolerance" \
  "$host" render "$plugin" "$work/input.wav" "$work/ours-aligned.wav" "${host_options[@]}"
