#include "tools/halden-host/usage_text.h"

namespace hosttool {

const char* const kUsageText = R"(halden-host: a small VST 2.4 host for the command line

usage:
  halden-host info PLUGIN [--rate HZ] [--block N]
      Identity, flags, channels, every parameter's name, label, display text
      and value, the current program and the indexed program names.

  halden-host render PLUGIN [IN.wav] OUT.wav [options]
      Runs audio through processReplacing block by block and writes a 32-bit
      float WAV with the plug-in's outputs. The sample rate is the input's.
      Without IN.wav a built-in stereo test signal of 4 s (plucked tones and
      clicks) is used. A mono input feeds every plug-in input; extra input
      channels are dropped.
      --program N|NAME   select a program by number or name (as listed by info)
      --set INDEX=VALUE  set a parameter (normalised); repeatable, several may
                         follow one --set; applied after --chunk and --program
      --chunk FILE       restore a state chunk (bank) before anything else
      --block N          block size (default 512)
      --rate HZ          rate of the built-in input (default 44100); with IN.wav
                         it must match the file
      --preroll SECONDS  process this much silence first, transport stopped at
                         0, and do not write it
      --tail SECONDS     process this much silence after the input and keep it
      --settle SECONDS   first feed silence in real time for this long, for
                         plug-ins that prepare buffers on threads of their own
      --tempo BPM        host tempo (default 120)
      --no-time          answer the plug-in's time-info request with null
      --log FILE         log automate/beginEdit/endEdit/updateDisplay requests

  halden-host bench PLUGIN [options]
      Prints the median cost in nanoseconds per frame of several timed runs.
      --rate HZ (default 48000)  --block N (default 256)
      --seconds S (default 5)    --runs K (default 5)
      --program N|NAME  --set INDEX=VALUE ...  --chunk FILE  --tempo BPM
      --settle SECONDS  as for render, before the untimed warm-up run
      --silence-after   time the silence that follows the signal instead

  halden-host script PLUGIN FILE|-
      Loads the plug-in (entry point only) and runs the commands in FILE, or
      on standard input for "-", one a line. Words are separated by spaces;
      "double quotes" keep spaces; # starts a comment. Results are printed one
      a line, starting with the command's word. The first failing line stops
      the script with an error naming the line.

      open                      effOpen
      rate HZ                   sample rate (effSetSampleRate; default 44100)
      block N                   block size (effSetBlockSize; default 512)
      resume | suspend          effMainsChanged 1 | 0
      start | stop              effStartProcess | effStopProcess
      set INDEX VALUE           setParameter
      get INDEX                 -> param INDEX VALUE
      display INDEX             -> display INDEX TEXT
      name INDEX                -> name INDEX TEXT
      label INDEX               -> label INDEX TEXT
      dispatch OPCODE [INDEX [VALUE [OPT]]] [str TEXT | buf BYTES]
                                any dispatcher call; ptr is TEXT, a zeroed
                                buffer of BYTES, or null
                                -> dispatch OPCODE RESULT
                                   (and buffer TEXT for buf)
      midi cc CHANNEL CONTROLLER VALUE [DELTA]
      midi note CHANNEL KEY VELOCITY [DELTA]
      midi off CHANNEL KEY [DELTA]
      midi raw STATUS DATA1 DATA2 [DELTA]
                                one event through effProcessEvents now
                                (channels 1..16) -> midi RESULT
      time tempo BPM            host tempo
      time ppq POSITION         song position in quarter notes
      time none | time on       time info answered with null | restored
      time play | time stop     transport running (position advances) or not
      process FRAMES silence|impulse|IN.wav [OUT.wav]
                                -> process FRAMES peak PEAK nonfinite COUNT
      chunk get FILE [bank|program]   effGetChunk to FILE -> chunk get SIZE
      chunk set FILE [bank|program]   effSetChunk from FILE -> chunk set RESULT
      program get               -> program CURRENT (effGetProgram)
      program N|NAME            select as render --program does -> program INDEX
      progname get              -> progname NAME
      progname set NAME         effSetProgramName
      log FILE                  log automation requests to FILE
      sleep SECONDS             pause (for plug-ins that work on threads)
      echo TEXT                 -> TEXT
      close                     effClose -> closed

Errors are reported as one line on stderr with a non-zero exit status.
)";

}  // namespace hosttool
