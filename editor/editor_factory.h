// The plug-in class gets its editor only through this function, so nothing
// below the plug-in names the editor class; the effect owns the result.
#pragma once

class AEffEditor;
class AudioEffect;
class DelayEngine;

// A new editor attached to effect, polling engine for its displays; null
// when it cannot be built. The effect owns the result.
AEffEditor* createEditor(AudioEffect* effect, DelayEngine& engine);
