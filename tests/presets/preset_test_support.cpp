#include "tests/presets/preset_test_support.h"

namespace preset_test {
VstIntPtr FakeHost::canSendMidiAnswer = 1;
std::vector<VstInt32> FakeHost::opcodes;
}  // namespace preset_test
