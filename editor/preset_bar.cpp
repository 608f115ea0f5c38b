// The preset bar: program name and menu, previous/next, file buttons, default
// and memory buttons, learn and clear, and the controller display.
#include <cstdio>
#include <cstring>

#include "editor/layout_to_toolkit.h"
#include "editor/preset_bar_controls.h"
#include "editor/preset_bar_layout.h"
#include "editor/preset_system_editor.h"
#include "editor/skin_bitmaps.h"
#include "editor/toolkit/vstgui.h"
#include "effect/parameters.h"
#include "layout/panel_layout.h"
#include "presets/controller_names.h"
#include "presets/name_cut.h"
#include "presets/preset_system_effect.h"

using namespace presetbar;
using namespace layout;

namespace {

constexpr int32_t kMenuStyle = kPopupStyle | kCheckStyle | kNoTextStyle | kNoDrawStyle;
constexpr VstInt32 kLastProgram = kNumPrograms - 1;
// Label buttons report 1.0 for a double-click and 0.5 with Control held.
constexpr float kStoreThreshold = 0.75f;
constexpr float kByteReversedPress = 0.5f;
constexpr int32_t kLastSoundParameter = kNumParams - 1;
// How long a message stays in the controller display.
constexpr uint32_t kStatusMessageMs = 3000;

// The 24 name bytes of a program and a terminating zero.
void programName(CPresetSystemEffect* fx, VstInt32 index, char name[kProgramNameLength + 1]) {
  name[0] = 0;
  if (fx->getPrograms() && index >= 0 && index < kNumPrograms)
    readProgramName(fx->getPrograms()[index], name);
}

}  // namespace

bool CPresetSystemEditor::open(void* ptr) {
  (void)ptr;
  CPresetSystemEffect* fx = presetEffect();
  if (!frame || !fx) return false;

  placeBarControls();
  CBitmap* frontPanel = loadSkinBitmap(kFrontPanelBitmap);
  // Created in drawing order: later controls lie over earlier ones.
  addProgramControls(*fx, frontPanel);
  addFileGroup(kLoadBank, kTagLoadBank, kSaveBank, kTagSaveBank, kBankLabel, kTagBankLabel,
               kBankLabelBitmap, loadBankButton, saveBankButton, bankLabel);
  addFileGroup(kLoadPreset, kTagLoadPreset, kSavePreset, kTagSavePreset, kPresetLabel,
               kTagPresetLabel, kPresetLabelBitmap, loadPresetButton, savePresetButton,
               presetLabel);
  addMemoryButtons();
  addMidiControls(frontPanel);
  frontPanel->forget();

  // Opening the window ends any learn or clear mode.
  fx->stopLearn();
  fx->stopClear();
  controlGate.opened();
  return true;
}

void CPresetSystemEditor::placeBarControls() {
  // The name field hugs its font, centred on the bar.
  const PanelRect rects[kBarControlCount] = {
      kNameFieldRect,   kMenuRect,        kRockerRect,      kLoadBankRect,
      kSaveBankRect,    kBankLabelRect,   kLoadPresetRect,  kSavePresetRect,
      kPresetLabelRect, kRecallMemoARect, kStoreMemoARect,  kRecallMemoBRect,
      kStoreMemoBRect,  kControllerDisplayRect, kLearnRect, kLoadMidiRect,
      kSaveMidiRect,    kMidiLabelRect,   kClearRect};
  static_assert(kBarControlCount == kNumBarControls, "one rectangle per bar control");
  for (int i = 0; i < kBarControlCount; ++i) barControlRects[i] = toCRect(rects[i]);
}

void CPresetSystemEditor::addProgramControls(CPresetSystemEffect& fx, CBitmap* frontPanel) {
  char name[kProgramNameLength + 1];
  const CRect& nameRect = barControlRects[kNameField];
  programName(&fx, fx.getCurrentProgramIndex(), name);
  auto* field = new CTextEdit(nameRect, this, kTagName, name, frontPanel, 0);
  field->setBackOffset(nameRect.getTopLeft());
  field->setBackColor(kNameBackColour);
  field->setFont(kNormalFontVerySmall);
  field->setFontColor(kBarTextColour);
  field->setFrameColor(kBarTextColour);
  field->setHoriAlign(kCenterText);
  // Typing stops where a character would no longer fit the name field.
  field->setMaxLength(kProgramNameLength);
  frame->addView(field);
  programNameField = field;

  const CRect& menuRect = barControlRects[kMenu];
  auto* menu = new COptionMenu(menuRect, this, kTagMenu, frontPanel, nullptr, 0);
  menu->setBackOffset(menuRect.getTopLeft());
  menu->setNbItemsPerColumn(kMenuItemsPerColumn);
  menu->setStyle(kMenuStyle);
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    programName(&fx, k, name);
    menu->addEntry(new CMenuItem(name));
  }
  menu->setCurrent(fx.getCurrentProgramIndex(), false);
  frame->addView(menu);
  programMenu = menu;

  CBitmap* rocker = loadSkinBitmap(kRockerBitmap);
  programRocker = new CPSRockerSwitch(barControlRects[kRocker], this, kTagRocker,
                                      heightPerFrame(rocker), rocker, CPoint(0, 0),
                                      kHorizontal);
  frame->addView(programRocker);
  rocker->forget();
}

CControl* CPresetSystemEditor::addSaveLoadButton(int which, int32_t tag,
                                                 layout::SkinBitmapId id) {
  CBitmap* bitmap = loadSkinBitmap(id);
  CControl* button = new CSaveLoadButton(barControlRects[which], this, tag,
                                         heightPerFrame(bitmap), bitmap, CPoint(0, 0));
  frame->addView(button);
  bitmap->forget();
  return button;
}

CControl* CPresetSystemEditor::addKickButton(int which, int32_t tag,
                                             layout::SkinBitmapId id, bool doubleClickOnly) {
  CBitmap* bitmap = loadSkinBitmap(id);
  CControl* button = new CPSKickButton(barControlRects[which], this, tag,
                                       heightPerFrame(bitmap), bitmap, CPoint(0, 0),
                                       doubleClickOnly);
  frame->addView(button);
  bitmap->forget();
  return button;
}

void CPresetSystemEditor::addFileGroup(int load, int32_t loadTag, int save,
                                       int32_t saveTag, int label, int32_t labelTag,
                                       layout::SkinBitmapId labelBitmap, CControl*& loadButton,
                                       CControl*& saveButton, CControl*& labelButton) {
  loadButton = addSaveLoadButton(load, loadTag, kLoadArrowBitmap);
  saveButton = addSaveLoadButton(save, saveTag, kSaveArrowBitmap);
  // The label stores the default on a double-click only.
  labelButton = addKickButton(label, labelTag, labelBitmap, true);
}

void CPresetSystemEditor::addMemoryButtons() {
  recallMemoAButton = addKickButton(kRecallMemoA, kTagRecallMemoA, kLoadArrowBitmap, false);
  storeMemoAButton = addKickButton(kStoreMemoA, kTagStoreMemoA, kSaveArrowBitmap, false);
  recallMemoBButton = addKickButton(kRecallMemoB, kTagRecallMemoB, kLoadArrowBitmap, false);
  storeMemoBButton = addKickButton(kStoreMemoB, kTagStoreMemoB, kSaveArrowBitmap, false);
}

void CPresetSystemEditor::addMidiControls(CBitmap* frontPanel) {
  const CRect& displayRect = barControlRects[kControllerDisplay];
  auto* display = new CParamDisplay(displayRect, frontPanel, 0);
  display->setTag(kTagControllerDisplay);
  display->setValueToStringProc(controllerDisplayText, this);
  display->setHoriAlign(kCenterText);
  display->setFont(kNormalFontVerySmall);
  display->setFontColor(kBarTextColour);
  display->setFrameColor(kBarTextColour);
  display->setBackOffset(displayRect.getTopLeft());
  frame->addView(display);
  controllerDisplay = display;

  learnButton = addOnOffButton(kLearn, kTagLearn, kLearnBitmap);
  loadMidiButton = addSaveLoadButton(kLoadMidi, kTagLoadMidi, kLoadArrowBitmap);
  saveMidiButton = addSaveLoadButton(kSaveMidi, kTagSaveMidi, kSaveArrowBitmap);
  midiLabel = addKickButton(kMidiLabel, kTagMidiLabel, kMidiLabelBitmap, true);
  clearButton = addOnOffButton(kClear, kTagClear, kClearBitmap);
}

CControl* CPresetSystemEditor::addOnOffButton(int which, int32_t tag,
                                              layout::SkinBitmapId id) {
  CBitmap* bitmap = loadSkinBitmap(id);
  CControl* button = new CPSOnOffButton(barControlRects[which], this, tag, bitmap);
  frame->addView(button);
  bitmap->forget();
  return button;
}

void CPresetSystemEditor::close() {
  closeFileDialog();
  controlGate.closing();
  programNameField = nullptr;
  programMenu = nullptr;
  programRocker = nullptr;
  loadBankButton = saveBankButton = bankLabel = nullptr;
  loadPresetButton = savePresetButton = presetLabel = nullptr;
  recallMemoAButton = storeMemoAButton = recallMemoBButton = storeMemoBButton = nullptr;
  controllerDisplay = nullptr;
  learnButton = loadMidiButton = saveMidiButton = midiLabel = clearButton = nullptr;
}

void CPresetSystemEditor::idle() {
  AEffGUIEditor::idle();
  pollFileDialog();
  refreshControllerDisplay();
}

void CPresetSystemEditor::showStatusMessage(const char* text) {
  statusMessage = text;
  statusShownAt = getTicks();
  if (controllerDisplay) controllerDisplay->invalid();
}

void CPresetSystemEditor::expireStatusMessage() {
  if (!statusMessage || getTicks() - statusShownAt < kStatusMessageMs) return;
  statusMessage = nullptr;
  if (controllerDisplay) controllerDisplay->invalid();
}

bool CPresetSystemEditor::controllerDisplayText(float value, char text[256], void* editor) {
  const auto* self = static_cast<const CPresetSystemEditor*>(editor);
  if (self && self->statusMessage) {
    std::snprintf(text, kParamDisplayTextSize, "%s", self->statusMessage);
    return true;
  }
  controllerNameText(value, text);
  return true;
}

int32_t CPresetSystemEditor::parameterOfTag(int32_t tag) { return tag; }

bool CPresetSystemEditor::refreshControllerDisplay() {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !frame || !controllerDisplay) return false;
  expireStatusMessage();
  CPoint where;
  if (!frame->getCurrentMouseLocation(where)) return false;
  int32_t step = kEmptyStep;
  if (const auto* control = dynamic_cast<const CControl*>(frame->getViewAt(where))) {
    const int32_t parameter = parameterOfTag(control->getTag());
    if (parameter >= 0 && parameter <= kLastSoundParameter) {
      const VstInt32 controller = fx->getControllerOfParameter(parameter);
      step = controller >= 0 && controller < kNumControllers ? controller : kNotAssignedStep;
    }
  }
  controllerDisplay->setValue(paramFromIndex(step, kControllerSteps));
  return true;
}

void CPresetSystemEditor::stepProgram(float direction) {
  CPresetSystemEffect* fx = presetEffect();
  VstInt32 p = fx->getCurrentProgramIndex();
  if (direction > 0.f)
    p = p + 1 > kLastProgram ? kLastProgram : p + 1;
  else if (direction < 0.f)
    p = p - 1 < 0 ? 0 : p - 1;
  else
    return;
  if (programMenu) programMenu->setCurrent(p, false);
  char name[kProgramNameLength + 1];
  programName(fx, p, name);
  if (programNameField) programNameField->setText(name);
  fx->selectProgram(p);
  fx->renameCurrentProgram(name);
}

void CPresetSystemEditor::selectProgramFromMenu(float value) {
  CPresetSystemEffect* fx = presetEffect();
  const VstInt32 p = static_cast<VstInt32>(value + 0.5f);
  if (p < 0 || p > kLastProgram) return;
  char name[kProgramNameLength + 1] = {};
  if (programMenu) {
    programMenu->setCurrent(p, false);
    if (const CMenuItem* entry = programMenu->getCurrent())
      cutUtf8(name, entry->getTitle(), kProgramNameLength);
  } else {
    programName(fx, p, name);
  }
  fx->selectProgram(p);
  fx->renameCurrentProgram(name);
  if (programNameField) programNameField->setText(name);
}

void CPresetSystemEditor::valueChanged(CControl* control) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !control) return;
  const float v = control->getValue();
  switch (control->getTag()) {
    case kTagName: {
      char name[kProgramNameLength + 1] = {};
      if (const auto* field = dynamic_cast<const CTextEdit*>(control))
        cutUtf8(name, field->getText(), kProgramNameLength);
      applyProgramName(name);
      break;
    }
    case kTagRocker: stepProgram(v); break;
    case kTagLoadBank: loadBankFile(v == kByteReversedPress); break;
    case kTagSaveBank: saveBankFile(); break;
    case kTagLoadPreset: loadPresetFile(v == kByteReversedPress); break;
    case kTagSavePreset: savePresetFile(); break;
    case kTagLearn:
      // Learn and clear exclude each other.
      fx->stopClear();
      if (v == 0.f) fx->stopLearn(); else fx->startLearn();
      break;
    case kTagLoadMidi: loadMidiFile(v == kByteReversedPress); break;
    case kTagSaveMidi: saveMidiFile(); break;
    // Control with the double-click removes the default, as on the bank and
    // preset labels.
    case kTagMidiLabel:
      if (v < kStoreThreshold) clearDefaultMidi(); else storeDefaultMidi();
      break;
    case kTagClear:
      fx->stopLearn();
      if (v == 0.f) fx->stopClear(); else fx->startClear();
      break;
    case kTagMenu: selectProgramFromMenu(v); break;
    case kTagBankLabel:
      if (v < kStoreThreshold) clearDefaultBank(); else storeDefaultBank();
      break;
    case kTagPresetLabel:
      if (v < kStoreThreshold) clearDefaultPreset(); else storeDefaultPreset();
      break;
    case kTagStoreMemoA: storeMemoA(); break;
    case kTagStoreMemoB: storeMemoB(); break;
    case kTagRecallMemoA: recallMemoA(); break;
    case kTagRecallMemoB: recallMemoB(); break;
    default: break;
  }
}
