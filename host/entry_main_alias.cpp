// Older hosts look for the entry point under the name "main". Only the shared
// object carries this alias: a program linking the plug-in has a main of its own.
#include "host/vst2_abi.h"

extern "C" {
AEffect* VSTPluginMain(audioMasterCallback audioMaster);

__attribute__((visibility("default"))) AEffect* haldenLegacyMain(audioMasterCallback audioMaster)
    __asm__("main");
AEffect* haldenLegacyMain(audioMasterCallback audioMaster) { return VSTPluginMain(audioMaster); }
}
