// Editor half of the preset system: the preset bar of an open window, and
// the operations the bar triggers (records, files, settings store), each a
// thin call into presets/. The editor listens to the preset system for
// learn and clear ending and for program names.
#pragma once

#include <cstddef>
#include <string>

#include "editor/control_gate.h"
#include "editor/toolkit/aeffguieditor.h"
#include "editor/toolkit/ccontrol.h"
#include "layout/skin_bitmaps.h"
#include "presets/preset_settings.h"
#include "presets/preset_system_listener.h"

class CPresetSystemEffect;
class CControl;
class CTextEdit;
class COptionMenu;
class CParamDisplay;
class CBitmap;
class CNewFileSelector;

class CPresetSystemEditor : public AEffGUIEditor,
                            public CControlListener,
                            public PresetSystemListener {
 public:
  explicit CPresetSystemEditor(AudioEffect* effect);
  ~CPresetSystemEditor() override;

  void learnEnded() override;
  void clearEnded() override;
  void programNameChanged(const char* name) override;
  void loadStartupDefaults() override;
  virtual void loadBankData(const unsigned char* record, bool byteReversed);
  virtual void saveBankData(unsigned char* record);
  virtual void loadPresetData(const unsigned char* record, bool byteReversed);
  virtual void savePresetData(unsigned char* record);
  virtual void loadMidiData(const unsigned char* record, bool byteReversed);
  virtual void saveMidiData(unsigned char* record);

  // Shows a name in the bar and renames the current program with it.
  void applyProgramName(const char* name);

  // Start-up defaults and the two comparison memories in the settings store.
  void storeDefaultBank();
  void storeDefaultPreset();
  void storeDefaultMidi();
  void storeMemoA();
  void storeMemoB();
  void clearDefaultBank();
  void clearDefaultPreset();
  void clearDefaultMidi();
  void recallDefaultBank();
  void recallDefaultPreset();
  void recallDefaultMidi();
  void recallMemoA();
  void recallMemoB();
  void saveFileLocations();
  void recallFileLocations();

  // Points the settings store elsewhere (tests, tools); the default folder
  // comes from the environment when the editor is built.
  void setSettingsFolder(const std::string& folder) { settings.setFolder(folder); }
  const SettingsStore& settingsStore() const { return settings.settingsStore(); }

  const char* getCurrentFolder() const { return settings.fileLocations().currentFolder; }
  const char* getBankFileName() const { return settings.fileLocations().bankFileName; }
  const char* getPresetFileName() const { return settings.fileLocations().presetFileName; }
  const char* getMidiFileName() const { return settings.fileLocations().midiFileName; }

  // The preset system's other notices (PresetSystemListener).
  void programsReplaced() override;
  void presetSystemClosing() override;

 protected:
  CPresetSystemEffect* presetEffect();

  // Guards control updates that arrive on the host's other threads.
  ControlGate controlGate;

  // Preset-bar controls, owned by the frame and null while the window is
  // closed; every update skips the ones that are missing.
  CTextEdit* programNameField = nullptr;
  COptionMenu* programMenu = nullptr;
  CControl* programRocker = nullptr;
  CControl* loadBankButton = nullptr;
  CControl* saveBankButton = nullptr;
  CControl* bankLabel = nullptr;
  CControl* loadPresetButton = nullptr;
  CControl* savePresetButton = nullptr;
  CControl* presetLabel = nullptr;
  CControl* recallMemoAButton = nullptr;
  CControl* storeMemoAButton = nullptr;
  CControl* recallMemoBButton = nullptr;
  CControl* storeMemoBButton = nullptr;
  CParamDisplay* controllerDisplay = nullptr;
  CControl* learnButton = nullptr;
  CControl* loadMidiButton = nullptr;
  CControl* saveMidiButton = nullptr;
  CControl* midiLabel = nullptr;
  CControl* clearButton = nullptr;

  // ---- Preset bar: the window half ----
 public:
  // Adds the bar to the frame the derived editor has made; false without a
  // frame or an effect.
  bool open(void* ptr) override;
  // Forgets the bar's controls; the derived editor closes the frame.
  void close() override;
  void idle() override;
  // The bar's actions for tags 33 … 51; other tags are the derived editor's.
  void valueChanged(CControl* control) override;

  // Load and save through a file selector on the open window. Each opens
  // the dialog and returns at once; the file is read or written when a
  // later idle pass finds the answer. Nothing opens while a dialog is open.
  // Failures show a short message in the controller display.
  // byteReversed reads the values with their bytes reversed.
  void loadPresetFile(bool byteReversed);
  void savePresetFile();
  void loadBankFile(bool byteReversed);
  void saveBankFile();
  void loadMidiFile(bool byteReversed);
  void saveMidiFile();
  bool isFileDialogOpen() const { return openDialog != nullptr; }
  // The message the controller display shows instead of a controller, or
  // null.
  const char* getStatusMessage() const { return statusMessage; }

 protected:
  // Takes up the open file dialog's answer once it has one; never waits.
  void pollFileDialog();
  // Ends an open file dialog without acting on it.
  void closeFileDialog();
  // Shows text in the controller display for a few seconds.
  void showStatusMessage(const char* text);

  // Shows the controller bound to the control under the mouse; false when
  // the frame knows no mouse position.
  bool refreshControllerDisplay();
  // The sound parameter a control's tag stands for (a derived editor may
  // have several controls for one parameter).
  virtual int32_t parameterOfTag(int32_t tag);

  // The zoom of the open frame in percent (100 without a frame), and a skin
  // bitmap drawn for it.
  int32_t frameZoomPercent() const;
  CBitmap* loadSkinBitmap(layout::SkinBitmapId id) const;

  // One rectangle per bar control, in the order the bar is built.
  static constexpr int kNumBarControls = 19;
  CRect barControlRects[kNumBarControls];

 private:
  void loadRecordFile(RecordKind kind, bool byteReversed);
  void saveRecordFile(RecordKind kind);
  void openFileDialog(RecordKind kind, bool saving, bool byteReversed);
  void loadChosenFile(RecordKind kind, std::string path, bool byteReversed);
  void saveChosenFile(RecordKind kind, std::string path);
  // The controller display's text: the status message while there is one.
  static bool controllerDisplayText(float value, char text[256], void* editor);
  void expireStatusMessage();
  void stepProgram(float direction);
  void selectProgramFromMenu(float value);
  // The steps of open, in drawing order. `which` is the control's place in
  // barControlRects.
  void placeBarControls();
  void addProgramControls(CPresetSystemEffect& fx, CBitmap* frontPanel);
  void addFileGroup(int load, int32_t loadTag, int save, int32_t saveTag, int label,
                    int32_t labelTag, layout::SkinBitmapId labelBitmap, CControl*& loadButton,
                    CControl*& saveButton, CControl*& labelButton);
  void addMemoryButtons();
  void addMidiControls(CBitmap* frontPanel);
  CControl* addSaveLoadButton(int which, int32_t tag, layout::SkinBitmapId id);
  CControl* addKickButton(int which, int32_t tag, layout::SkinBitmapId id, bool doubleClickOnly);
  CControl* addOnOffButton(int which, int32_t tag, layout::SkinBitmapId id);
  // ---- end of the preset bar ----

 private:
  // Puts a name into the name field and the program menu's current entry.
  void showProgramName(const char* name);
  // Makes a program menu entry current and titles it.
  void titleMenuEntry(VstInt32 index, const char* name);

  // The preset system this editor listens to; null once it has closed.
  CPresetSystemEffect* listenedTo = nullptr;
  // Start-up defaults, memories and the file locations of the file selectors.
  PresetSettings settings;

  // The file dialog now open, and what its answer is for.
  CNewFileSelector* openDialog = nullptr;
  RecordKind dialogKind = RecordKind::kPreset;
  bool dialogSaves = false;
  bool dialogByteReversed = false;
  const char* statusMessage = nullptr;
  uint32_t statusShownAt = 0;
};
