// The plug-in class reaches its editor only through this function, which the
// editor layer defines, so no layer below the plug-in names the editor.
#pragma once

class AEffEditor;
class AudioEffect;
class DelayEngine;

// A new editor attached to effect, polling engine for its displays; null
// when it cannot be built. The effect owns the result.
AEffEditor* createEditor(AudioEffect* effect, DelayEngine& engine);
