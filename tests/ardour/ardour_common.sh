# Shell functions for driving Ardour 7 headless (ardour7-lua) with one VST 2.4
# plug-in on one stereo track. Sourced by ardour-render.sh and the tests.
#
# Everything Ardour reads or writes lives in a work folder: private config and
# cache folders (so nothing of the user's is touched), a copy of the plug-in,
# the sessions and the exports.

ARDOUR_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ARDOUR_LUA=${ARDOUR_LUA:-ardour7-lua}
ARDOUR_LIBDIR=${ARDOUR_LIBDIR:-/usr/lib/ardour7}
ARDOUR_SCANNER=${ARDOUR_SCANNER:-$ARDOUR_LIBDIR/ardour-vst-scanner}
ARDOUR_SESSION_NAME=halden
ARDOUR_RUN_SECONDS=120           # one interpreter run; a normal one takes ~2 s
ARDOUR_BLOCK=${ARDOUR_BLOCK:-1024} # 64-frame blocks sometimes crash Ardour on close
SKIP_STATUS=77                   # CTest's SKIP_RETURN_CODE for these tests
# Our own id for the export preset file; the format id is Ardour's stock
# "BWAV 32float Export" format.
EXPORT_PRESET_ID=6d1e7c3a-5b2f-4e8a-9c41-3f0a8b7d2e15
EXPORT_FORMAT_ID=20b4ab09-6452-4cb3-bd66-b921cdbd2942

# Our plug-in's state chunk, all words little-endian (chunk_dump.cpp reads
# the rest of it).
CHUNK_SIZE=1736
CHUNK_MARKER_HEX=0x01000000
CHUNK_ID_HEX=0x486c646e          # 'Hldn', first character in the high byte
CHUNK_PROGRAM_COUNT=17
CHUNK_CURRENT_OFFSET=12
CHUNK_ASSIGNMENTS_OFFSET=1664
SOUND_PARAMETERS=18 ALL_PARAMETERS=36

log() { echo "[ardour] $*" >&2; }
die() { echo "[ardour] FAIL: $*" >&2; exit 1; }

# Exits with the skip status, never a pass, when Ardour is not installed.
ardour_require() {
  local tool
  for tool in "$ARDOUR_LUA" "$ARDOUR_SCANNER" sox soxi base64 od; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool not found; the Ardour host tests need Debian's ardour and sox packages" >&2
      exit "$SKIP_STATUS"
    fi
  done
}

# ardour_setup WORK PLUGIN.so: private folders, plug-in copy, scan, export
# preset. Sets ARDOUR_PLUGIN_ID.
ardour_setup() {
  local work=$1 plugin=$2
  [ -f "$plugin" ] || die "no plug-in at $plugin"
  rm -rf "$work/plugins" "$work/cache/ardour7/vst"   # one plug-in, one scan result
  mkdir -p "$work/config/ardour7/export" "$work/cache" "$work/plugins" "$work/exports"
  export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
  export LXVST_PATH=$work/plugins   # the session only loads what is both here and scanned
  unset VST_PATH VST3_PATH LADSPA_PATH LV2_PATH

  local copy
  copy=$work/plugins/$(basename "$plugin")
  cp "$plugin" "$copy"
  # Ardour takes a cache entry as stale unless it is newer than the library;
  # a copy and a scan within the same second would otherwise be ignored.
  touch -d '2000-01-01' "$copy"
  LD_LIBRARY_PATH=$ARDOUR_LIBDIR${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH} \
    "$ARDOUR_SCANNER" -f -q "$copy" >"$work/scan.log" 2>&1 || die "the scanner failed on $copy"
  ARDOUR_PLUGIN_ID=$(sed -n 's/.*<VST2Info id="\([0-9-]*\)".*/\1/p' \
                     "$work"/cache/ardour7/vst/*.v2i 2>/dev/null | head -n 1)
  [ -n "$ARDOUR_PLUGIN_ID" ] || die "the scanner did not list $copy"

  cat >"$work/config/ardour7/export/halden-float.preset" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<ExportPreset id="$EXPORT_PRESET_ID" name="Float WAV">
  <ExportFormat id="$EXPORT_FORMAT_ID"/>
  <ExportFilename>
    <Folder relative="1" path="export"/>
    <Field name="label" enabled="0"/>
    <Field name="session" enabled="0"/>
    <Field name="snapshot" enabled="0"/>
    <Field name="timespan" enabled="1"/>
    <Field name="revision" enabled="0"/>
    <Field name="time" enabled="0" value="T_None"/>
    <Field name="date" enabled="0" value="D_None"/>
  </ExportFilename>
</ExportPreset>
EOF
}

# ardour7-lua itself sometimes crashes (heap corruption inside Ardour, in
# about 1 of 10 runs here, with Debian's own plug-ins as with ours), at any
# point of a run. A run whose work is done counts (the log says so); one that
# crashed before is repeated, as often as this.
ARDOUR_ATTEMPTS=4

# run_lua LOG SCRIPT ARGS...: one interpreter process, its output in LOG.
run_lua() {
  local logfile=$1; shift
  timeout "$ARDOUR_RUN_SECONDS" "$ARDOUR_LUA" "$@" >"$logfile" 2>&1
}

# A script's own failure is final; it prints a line starting with ERROR.
check_lua_log() {
  if grep -q '^ERROR' "$1"; then cat "$1" >&2; die "Ardour reported an error"; fi
}

session_file() { echo "$1/$ARDOUR_SESSION_NAME.ardour"; }

# ardour_create SESSION IN.wav [INDEX=VALUE ...]: session with the plug-in and
# the input in place; the values are set through Ardour before the save.
ardour_create() {
  local session=$1 input=$2; shift 2
  local rate frames attempt status
  rate=$(soxi -r "$input") && frames=$(soxi -s "$input") || die "cannot read $input"
  [ "$(soxi -c "$input")" = 2 ] || die "$input is not stereo"
  for ((attempt = 1; ; ++attempt)); do
    rm -rf "$session"
    status=0
    run_lua "$session.create.log" "$ARDOUR_DIR/create_session.lua" "$session" \
      "$ARDOUR_SESSION_NAME" "$rate" "$ARDOUR_BLOCK" "$ARDOUR_PLUGIN_ID" "$frames" "$@" ||
      status=$?
    check_lua_log "$session.create.log"
    grep -q '^created ' "$session.create.log" && break
    [ "$attempt" -lt "$ARDOUR_ATTEMPTS" ] ||
      { cat "$session.create.log" >&2; die "creating the session failed (status $status)"; }
    log "Ardour ended with status $status before the session was saved; trying again"
  done
  [ "$status" -eq 0 ] || log "Ardour ended with status $status after saving the session; run accepted"

  # Overwrite the silent region's sources with the input's two channels.
  local left right
  left=$(find "$session/interchange" -name 'input%L.wav' | head -n 1)
  right=$(find "$session/interchange" -name 'input%R.wav' | head -n 1)
  [ -n "$left" ] && [ -n "$right" ] || die "the session has no input region files"
  sox "$input" -e floating-point -b 32 "$left" remix 1 || die "cannot place the input"
  sox "$input" -e floating-point -b 32 "$right" remix 2 || die "cannot place the input"
  rm -f "$session"/peaks/*
}

# ardour_load SESSION OUT.wav|- PARAMS_FILE SAVE(0|1) [INDEX=VALUE ...]: loads
# the session in a new process (Ardour restores the plug-in from the session
# file), sets the values through Ardour, writes every parameter as the plug-in
# reports it, exports the input's length unless OUT is "-", saves if asked.
ardour_load() {
  local session=$1 output=$2 params=$3 save=$4; shift 4
  local frames folder name logfile attempt status missing
  frames=$(soxi -s "$(find "$session/interchange" -name 'input%L.wav' | head -n 1)")
  if [ "$output" = - ]; then
    folder=$session name=- logfile=$session.settings.log
  else
    folder=$(dirname "$output") name=$(basename "$output" .wav) logfile=$output.log
  fi
  for ((attempt = 1; ; ++attempt)); do
    [ "$output" = - ] || rm -f "$output"
    status=0
    run_lua "$logfile" "$ARDOUR_DIR/export_session.lua" "$session" "$ARDOUR_SESSION_NAME" \
      "$ARDOUR_BLOCK" "$frames" "$folder" "$name" "$EXPORT_PRESET_ID" "$params" "$save" "$@" ||
      status=$?
    check_lua_log "$logfile"
    missing=""
    if [ "$output" != - ] &&
       [ "$(soxi -s "$output" 2>/dev/null)" != "$frames" ]; then missing="a complete export"; fi
    if [ "$save" = 1 ] && ! grep -q '^saved$' "$logfile"; then missing+="${missing:+ and }the save"; fi
    [ -n "$missing" ] || break
    [ "$attempt" -lt "$ARDOUR_ATTEMPTS" ] ||
      { cat "$logfile" >&2; die "Ardour ended with status $status without $missing"; }
    log "Ardour ended with status $status without $missing; trying again"
  done
  if [ "$status" -ne 0 ]; then
    log "Ardour ended with status $status after its work was done; run accepted" \
        "(export: $output, save: $save)"
  elif [ "$output" != - ]; then
    log "export complete: $output ($frames frames)"
  fi
}

# session_chunk_get SESSION FILE: the plug-in's state chunk from the session file.
session_chunk_get() {
  sed -n 's:.*<chunk[^>]*>\([A-Za-z0-9+/=]*\)</chunk>.*:\1:p' "$(session_file "$1")" |
    head -n 1 | base64 -d >"$2" 2>/dev/null
  [ -s "$2" ] || die "the session file holds no chunk"
}

# session_chunk_put SESSION FILE: replaces the chunk in the session file.
session_chunk_put() {
  local encoded file
  encoded=$(base64 -w 0 "$2")
  file=$(session_file "$1")
  sed -i "s:\(<chunk[^>]*>\)[A-Za-z0-9+/=]*\(</chunk>\):\1$encoded\2:" "$file"
  grep -q "$encoded" "$file" || die "cannot write the chunk into $file"
}

# chunk_word FILE OFFSET: a little-endian 32-bit word, as an unsigned number.
chunk_word() { od -An -tu4 --endian=little -j "$2" -N 4 "$1" | tr -d ' '; }

# chunk_set_word FILE OFFSET VALUE: writes a little-endian 32-bit word.
chunk_set_word() {
  local value=$3 bytes="" i
  for i in 0 1 2 3; do
    bytes+=$(printf '\\x%02x' $(( (value >> (8 * i)) & 0xff )))
  done
  printf "$bytes" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# chunk_swap_word FILE OFFSET: reverses the byte order of one word in place.
chunk_swap_word() {
  local value
  value=$(chunk_word "$1" "$2")
  chunk_set_word "$1" "$2" $(( ((value & 0xff) << 24) | ((value & 0xff00) << 8) |
                               ((value >> 8) & 0xff00) | ((value >> 24) & 0xff) ))
}

# With a modulated clock a render also depends on the LFO phase at the
# export's first sample. Every resume restarts the LFO at phase 0, and
# Ardour's dummy engine then runs the plug-in on silence in real time until
# the export starts: 140 to 143 blocks of 1024 at 48 kHz in our runs, never
# the same twice. Nothing else depends on that count once the glides have
# settled, so it is searched: our host renders after k silent blocks for k
# around the usual count, and the same tolerance is demanded of the best k. A
# wrong phase shows as differences of 0.1 and more, so the search cannot pass
# by accident; for settings without LFO any k matches and proves nothing.
LFO_USUAL_SILENT_BLOCKS=141
LFO_SEARCH_BLOCKS=400

# match_silent_blocks ARDOUR.wav SCRATCH.wav COMPARE TOLERANCE HOST_COMMAND...:
# runs HOST_COMMAND with "--preroll SECONDS" appended (it must write
# SCRATCH.wav) for each candidate count; prints the count and the comparison
# of the first that matches, or fails.
match_silent_blocks() {
  local reference=$1 scratch=$2 compare=$3 tolerance=$4; shift 4
  local rate step blocks seconds
  rate=$(soxi -r "$reference" 2>/dev/null)
  for ((step = 0; step <= 2 * LFO_SEARCH_BLOCKS; ++step)); do
    # 141, 142, 140, 143, 139, ...
    blocks=$(( LFO_USUAL_SILENT_BLOCKS + (step % 2 ? (step + 1) / 2 : -(step / 2)) ))
    [ "$blocks" -ge 0 ] || continue
    seconds=$(awk -v b="$blocks" -v n="$ARDOUR_BLOCK" -v r="$rate" 'BEGIN { printf "%.12f", b * n / r }')
    "$@" --preroll "$seconds" >/dev/null || die "our host failed: $*"
    if "$compare" "$reference" "$scratch" --tolerance "$tolerance" >"$scratch.txt"; then
      echo "LFO phase aligned after $blocks silent blocks of $ARDOUR_BLOCK:"
      cat "$scratch.txt"
      return 0
    fi
  done
  die "no pre-roll of up to $((LFO_USUAL_SILENT_BLOCKS + LFO_SEARCH_BLOCKS)) blocks matches within $tolerance"
}

# make_test_input OUT.wav [RATE]: a stereo input of 3 s, two plucked tones
# (A3 left, E4 right) in the first 0.9 s, then silence for the echoes. -R
# seeds sox's random excitation the same way on every run.
make_test_input() {
  local output=$1 rate=${2:-48000}
  sox -R -n -r "$rate" -c 2 -e floating-point -b 32 "$output" \
    synth 0.9 pluck A3 pluck E4 gain -6 pad 0 2.1 || die "sox cannot make the test input"
}
