// What the preset system tells the window above it. The preset system never
// knows what listens; an editor registers itself with the effect and
// unregisters when it goes.
#pragma once

class PresetSystemListener {
 public:
  // Learn or clear mode ended. learnEnded may run on the thread that
  // delivers MIDI events, when a binding is learned.
  virtual void learnEnded() = 0;
  virtual void clearEnded() = 0;
  // The current program's name changed (host rename or a loaded preset).
  virtual void programNameChanged(const char* name) = 0;
  // A bank replaced every program; program 0 is about to become current.
  virtual void programsReplaced() = 0;
  // The instance is being built: load the stored start-up defaults.
  virtual void loadStartupDefaults() = 0;
  // The preset system is being destroyed; the listener must forget it.
  virtual void presetSystemClosing() = 0;

 protected:
  ~PresetSystemListener() = default;
};
