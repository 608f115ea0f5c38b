// Shows the value as text: a conversion function gives the text, drawn with
// its font, colours and alignment over a background bitmap or colour.
#pragma once

#include <string>

#include "editor/toolkit/ccolor.h"
#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/cdrawcontext.h"

enum CParamDisplayStyle : int32_t {
  kShadowText = 1 << 0,
  k3DIn = 1 << 1,
  k3DOut = 1 << 2,
  kNoFrame = 1 << 3,
  kPopupStyle = 1 << 9,
  kCheckStyle = 1 << 10,
  kNoTextStyle = 1 << 11,
  kNoDrawStyle = 1 << 12,
  kRoundRectStyle = 1 << 13,
  kMultipleCheckStyle = 1 << 14,
};

// Text buffers of the conversion functions hold this many bytes.
constexpr int kParamDisplayTextSize = 256;

using CParamDisplayValueToStringProc = bool (*)(float value, char utf8String[256], void* userData);

class CParamDisplay : public CControl {
 public:
  CParamDisplay(const CRect& size, CBitmap* background = nullptr, const int32_t style = 0);
  CParamDisplay(const CParamDisplay& display);
  ~CParamDisplay() override;

  void draw(CDrawContext* context) override;

  void setFont(CFontRef font);
  const CFontDesc& getFont() const { return font; }
  void setFontColor(const CColor& color) { fontColor = color; setDirty(true); }
  CColor getFontColor() const { return fontColor; }
  void setBackColor(const CColor& color) { backColor = color; setDirty(true); }
  CColor getBackColor() const { return backColor; }
  void setFrameColor(const CColor& color) { frameColor = color; setDirty(true); }
  CColor getFrameColor() const { return frameColor; }
  void setShadowColor(const CColor& color) { shadowColor = color; setDirty(true); }
  void setHoriAlign(CHoriTxtAlign align) { horiAlign = align; setDirty(true); }
  CHoriTxtAlign getHoriAlign() const { return horiAlign; }
  void setStyle(int32_t newStyle) { style = newStyle; setDirty(true); }
  int32_t getStyle() const { return style; }
  void setTextTransparency(bool state) { textTransparent = state; }
  void setAntialias(bool state) { antialias = state; }

  // Conversion functions, in the toolkit's three historical forms.
  void setStringConvert(void (*convert)(float value, char* string));
  void setStringConvert(void (*convert)(float value, char* string, void* userData),
                        void* userData);
  void setValueToStringProc(CParamDisplayValueToStringProc proc, void* userData = nullptr);
  // The text the display shows for its current value.
  std::string getDisplayText() const;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CParamDisplay(*this); }

 protected:
  void drawBack(CDrawContext* context);
  void drawText(CDrawContext* context, const char* text);
  // The alignment a text gets in textRect: the field's own, or left when
  // the text does not fit and the field shows the start of such texts.
  CHoriTxtAlign alignmentFor(CDrawContext* context, const char* text,
                             const CRect& textRect) const;

  int32_t style;
  CFontDesc font{"Arial", 12};
  CColor fontColor = kWhiteCColor;
  CColor backColor = kBlackCColor;
  CColor frameColor = kBlackCColor;
  CColor shadowColor = kRedCColor;
  CHoriTxtAlign horiAlign = kCenterText;
  bool textTransparent = false;
  bool antialias = true;
  // Text fields show the start of a text too wide for them (a name is read
  // from its start); displays keep their alignment.
  bool showStartWhenTooWide = false;
  void (*stringConvert)(float, char*) = nullptr;
  void (*stringConvertWithData)(float, char*, void*) = nullptr;
  CParamDisplayValueToStringProc valueToString = nullptr;
  void* convertData = nullptr;
};
