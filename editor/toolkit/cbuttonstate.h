// Mouse buttons and modifier keys of one event, and the results a view gives
// back for a mouse event.
#pragma once

#include <cstdint>

enum CButton : int32_t {
  kLButton = 1 << 1,
  kMButton = 1 << 2,
  kRButton = 1 << 3,
  kShift = 1 << 4,
  kControl = 1 << 5,
  kAlt = 1 << 6,
  kApple = 1 << 7,
  kButton4 = 1 << 8,
  kButton5 = 1 << 9,
  kDoubleClick = 1 << 10,
};

// The modifier that makes a click restore a control's default value.
constexpr int32_t kDefaultValueModifier = kControl;

class CButtonState {
 public:
  CButtonState(int32_t state = 0) : state(state) {}
  operator int32_t() const { return state; }
  int32_t getButtonState() const { return state & (kLButton | kMButton | kRButton | kButton4 | kButton5); }
  int32_t getModifierState() const { return state & (kShift | kControl | kAlt | kApple); }
  bool isLeftButton() const { return (state & kLButton) != 0; }
  bool isRightButton() const { return (state & kRButton) != 0; }
  bool isDoubleClick() const { return (state & kDoubleClick) != 0; }

 private:
  int32_t state;
};

enum CMouseEventResult {
  kMouseEventNotImplemented = 0,
  kMouseEventHandled,
  kMouseEventNotHandled,
  kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

// Virtual key codes of VstKeyCode::virt.
enum VirtualKeyCodes : unsigned char {
  VKEY_BACK = 1,
  VKEY_TAB = 2,
  VKEY_CLEAR = 3,
  VKEY_RETURN = 4,
  VKEY_PAUSE = 5,
  VKEY_ESCAPE = 6,
  VKEY_SPACE = 7,
  VKEY_NEXT = 8,
  VKEY_END = 9,
  VKEY_HOME = 10,
  VKEY_LEFT = 11,
  VKEY_UP = 12,
  VKEY_RIGHT = 13,
  VKEY_DOWN = 14,
  VKEY_PAGEUP = 15,
  VKEY_PAGEDOWN = 16,
  VKEY_ENTER = 19,
  VKEY_INSERT = 21,
  VKEY_DELETE = 22,
};
