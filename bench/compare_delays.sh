#!/usr/bin/env bash
# Processing cost of our plug-in, every factory program with signal and on
# silence after a signal, next to Debian's VST 2.4 delays, all measured in
# the same run by halden-host's bench command (48 kHz, block 256, median of
# several runs), followed by the ratios ours / theirs, the median and the
# slowest program against each peer, and silence after signal / signal.
#
# usage: bench/compare_delays.sh [BUILD_DIR]      (default: ./build)
# environment: RUNS (default 5), SECONDS_PER_RUN (default 5),
#              DEBIAN_VST_DIR (default /usr/lib/vst),
#              BEFORE_PLUGIN (another build of our plug-in, measured too)
set -euo pipefail

build_dir=${1:-build}
host="$build_dir/halden-host"
ours="$build_dir/MarlowHalden.so"
vst_dir=${DEBIAN_VST_DIR:-/usr/lib/vst}
rate=48000
block=256
runs=${RUNS:-5}
seconds=${SECONDS_PER_RUN:-5}

for file in "$host" "$ours"; do
  if [[ ! -e $file ]]; then
    echo "compare_delays: $file not found; build the project first (BUILD_DIR=$build_dir)" >&2
    exit 1
  fi
done

# Plug-ins may keep per-user settings: keep them away from the real ones.
config_home=$(mktemp -d)
trap 'rm -rf "$config_home"' EXIT
export XDG_CONFIG_HOME=$config_home

zam_delay="$vst_dir/ZamDelay-vst.so"
lsp_slapback="$vst_dir/lsp-plugins/slap-delay-stereo.so"
lsp_artistic="$vst_dir/lsp-plugins/art-delay-stereo.so"

# LSP's delays start with every tap switched off; the "one tap" settings
# switch on a single 300 ms tap so that they do delay work. The artistic
# delay allocates its lines on a thread of its own: --settle gives it time.
lsp_slapback_tap=(--set 16=0.34 22=0.3)                      # dm0 Time, dt0 300 ms
lsp_artistic_tap=(--set 37=1 48=0.0012 64=0.8 --settle 0.5)  # on0, dadd0 0.307 s, fbg0 -16 dB

declare -A cost
declare -a order

# measure LABEL PLUGIN [bench options...]
measure() {
  local label=$1 plugin=$2
  shift 2
  if [[ ! -e $plugin ]]; then
    printf '%-38s skipped: %s is not installed\n' "$label" "$plugin"
    return
  fi
  local line
  line=$("$host" bench "$plugin" --rate "$rate" --block "$block" --runs "$runs" \
    --seconds "$seconds" "$@")
  cost[$label]=${line%% *}
  order+=("$label")
  printf '%-38s %10.3f ns/frame\n' "$label" "${cost[$label]}"
}

programs=("default" "wiper" "8th fast tape" "didgee" "dotted 8th slow tape" "light flanger"
  "wow tape" "16th downsampled" "doubler" "running up" "deep flanger" "lezlie" "fourforty fast"
  "vocoder" "fourforty slow" "driven crazy" "16th slapback")

echo "cost per frame at $rate Hz, block $block, median of $runs runs of $seconds s"
for program in "${programs[@]}"; do
  measure "Halden '$program'" "$ours" --program "$program"
  measure "Halden '$program' silence after" "$ours" --program "$program" --silence-after
  if [[ -n ${BEFORE_PLUGIN:-} ]]; then
    measure "before: Halden '$program'" "$BEFORE_PLUGIN" --program "$program"
  fi
done
measure "ZamDelay (mono)" "$zam_delay"
measure "LSP slap-back stereo" "$lsp_slapback"
measure "LSP slap-back stereo, one tap" "$lsp_slapback" "${lsp_slapback_tap[@]}"
measure "LSP artistic stereo" "$lsp_artistic"
measure "LSP artistic stereo, one tap" "$lsp_artistic" "${lsp_artistic_tap[@]}"

ratio() {
  awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a / b }'
}

peers=()
for label in "${order[@]}"; do
  [[ $label == Halden* || $label == before:* ]] || peers+=("$label")
done

echo
echo "ratios ours / theirs (below 1: ours is cheaper); last column: silence after / signal"
printf '%-24s' "program"
for peer in "${peers[@]}"; do printf ' %10.10s' "$peer"; done
printf ' %10s\n' "silence"
for program in "${programs[@]}"; do
  ours_label="Halden '$program'"
  [[ -n ${cost[$ours_label]:-} ]] || continue
  printf '%-24s' "$program"
  for peer in "${peers[@]}"; do printf ' %10s' "$(ratio "${cost[$ours_label]}" "${cost[$peer]}")"; done
  silence_label="$ours_label silence after"
  printf ' %10s\n' "$(ratio "${cost[$silence_label]:-0}" "${cost[$ours_label]}")"
done

echo
echo "median and slowest of the programs against each peer"
all_costs=$(for program in "${programs[@]}"; do
  label="Halden '$program'"
  [[ -n ${cost[$label]:-} ]] && echo "${cost[$label]}"
done | sort -g)
count=$(wc -l <<<"$all_costs")
median=$(sed -n "$(((count + 1) / 2))p" <<<"$all_costs")
slowest=$(tail -n 1 <<<"$all_costs")
printf '%-38s %10.3f ns/frame, slowest %.3f\n' "median of $count programs" "$median" "$slowest"
for peer in "${peers[@]}"; do
  printf '%-38s median %s, slowest %s\n' "/ $peer" "$(ratio "$median" "${cost[$peer]}")" \
    "$(ratio "$slowest" "${cost[$peer]}")"
done
