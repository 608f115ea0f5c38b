#include "editor/toolkit/ctextedit.h"

#include <cstring>

#include "editor/toolkit/cframe.h"

namespace {
constexpr int32_t kFirstPrintable = 0x20;
constexpr int32_t kDeleteCharacter = 0x7f;
constexpr int32_t kMaxCodePoint = 0x10ffff;
constexpr CCoord kCaretGap = 1;

void appendUtf8(std::string& out, int32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xe0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  }
}

// Cuts s to at most limit bytes without splitting a UTF-8 character.
void cutUtf8(std::string& s, size_t limit) {
  if (s.size() <= limit) return;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xc0) == 0x80) --end;
  s.resize(end);
}

// Removes the last whole UTF-8 character.
void popUtf8(std::string& s) {
  while (!s.empty()) {
    const unsigned char last = static_cast<unsigned char>(s.back());
    s.pop_back();
    if ((last & 0xc0) != 0x80) break;
  }
}
}  // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const char* txt,
                     CBitmap* background, const int32_t style)
    : CParamDisplay(size, background, style) {
  this->listener = listener;
  this->tag = tag;
  showStartWhenTooWide = true;
  setText(txt);
}

void CTextEdit::setText(const char* txt) {
  text = txt ? txt : "";
  cutUtf8(text, maxLength);
  setDirty(true);
}

void CTextEdit::draw(CDrawContext* context) {
  if (!(style & kNoDrawStyle)) {
    if (editingText) {
      // An edit field over the panel: back colour, frame, text and caret.
      context->setFillColor(backColor);
      context->setFrameColor(frameColor);
      context->drawRect(size, kDrawFilledAndStroked);
      drawText(context, editText.c_str());
      context->setFont(&font);
      const CCoord width = context->getStringWidth(editText.c_str());
      CRect textRect = size;
      textRect.inset(2, 0);
      const CHoriTxtAlign align = alignmentFor(context, editText.c_str(), textRect);
      CCoord x = size.left + 2 + width + kCaretGap;
      if (align == kCenterText) x = size.left + (size.getWidth() + width) / 2 + kCaretGap;
      if (align == kRightText) x = size.right - 2;
      context->setFrameColor(fontColor);
      context->drawLine(CPoint(x, size.top + 2), CPoint(x, size.bottom - 3));
    } else {
      drawBack(context);
      drawText(context, text.c_str());
    }
  }
  setDirty(false);
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  if (!editingText) {
    if (frame)
      frame->setFocusView(this);
    else
      takeFocus();
  }
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t CTextEdit::onKeyDown(VstKeyCode& keyCode) {
  if (!editingText) return -1;
  switch (keyCode.virt) {
    case VKEY_RETURN:
    case VKEY_ENTER:
      endEditing(true);
      return 1;
    case VKEY_ESCAPE:
      endEditing(false);
      return 1;
    case VKEY_BACK:
      popUtf8(editText);
      invalid();
      return 1;
    default:
      break;
  }
  const int32_t c = keyCode.character;
  if (keyCode.virt == VKEY_SPACE || (c >= kFirstPrintable && c != kDeleteCharacter && c <= kMaxCodePoint)) {
    std::string grown = editText;
    appendUtf8(grown, keyCode.virt == VKEY_SPACE ? ' ' : c);
    if (grown.size() <= maxLength) editText = grown;
    invalid();
  }
  // While editing, the field keeps every key from the host.
  return 1;
}

void CTextEdit::takeFocus() {
  if (editingText) return;
  editingText = true;
  editText = text;
  invalid();
}

void CTextEdit::looseFocus() {
  if (!editingText) return;
  const bool commit = !cancelRequested;
  editingText = false;
  if (commit) text = editText;
  invalid();
  if (commit) valueChanged();
}

void CTextEdit::endEditing(bool commit) {
  cancelRequested = !commit;
  if (frame && frame->getFocusView() == this)
    frame->setFocusView(nullptr);
  else
    looseFocus();
  cancelRequested = false;
}

bool CTextEdit::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CTextEdit") == 0) ||
         CParamDisplay::isTypeOf(className);
}
