// A text field edited in place: a click starts editing, typed characters and
// Backspace change the text, Enter (or a click elsewhere) commits and tells
// the listener, Escape restores the old text.
#pragma once

#include <string>

#include "editor/toolkit/cparamdisplay.h"

class CTextEdit : public CParamDisplay {
 public:
  CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const char* txt = nullptr,
            CBitmap* background = nullptr, const int32_t style = 0);

  virtual void setText(const char* txt);
  const char* getText() const { return text.c_str(); }
  bool isEditingText() const { return editingText; }
  const char* getEditText() const { return editText.c_str(); }

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  bool wantsFocus() const override { return true; }
  void takeFocus() override;
  void looseFocus() override;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CTextEdit(*this); }

  // The longest text the field holds, in bytes.
  static constexpr size_t kMaxTextLength = 255;
  // A shorter limit; typing refuses a character that would not fit whole.
  void setMaxLength(size_t bytes) { maxLength = bytes < kMaxTextLength ? bytes : kMaxTextLength; }
  size_t getMaxLength() const { return maxLength; }

 private:
  void endEditing(bool commit);

  std::string text;
  std::string editText;
  bool editingText = false;
  bool cancelRequested = false;
  size_t maxLength = kMaxTextLength;
};
