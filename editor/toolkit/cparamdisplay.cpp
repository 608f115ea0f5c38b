#include "editor/toolkit/cparamdisplay.h"

#include <cstdio>
#include <cstring>

#include "editor/toolkit/cbitmap.h"

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, const int32_t style)
    : CControl(size, nullptr, 0, background), style(style) {
  font = *kNormalFontSmall;
  setWheelInc(0.f);
}

CParamDisplay::CParamDisplay(const CParamDisplay& display)
    : CControl(display),
      style(display.style),
      font(display.font),
      fontColor(display.fontColor),
      backColor(display.backColor),
      frameColor(display.frameColor),
      shadowColor(display.shadowColor),
      horiAlign(display.horiAlign),
      textTransparent(display.textTransparent),
      antialias(display.antialias),
      stringConvert(display.stringConvert),
      stringConvertWithData(display.stringConvertWithData),
      valueToString(display.valueToString),
      convertData(display.convertData) {}

CParamDisplay::~CParamDisplay() = default;

void CParamDisplay::setFont(CFontRef newFont) {
  if (newFont) font = CFontDesc(newFont->getName(), newFont->getSize(), newFont->getStyle());
  setDirty(true);
}

void CParamDisplay::setStringConvert(void (*convert)(float, char*)) {
  stringConvert = convert;
  stringConvertWithData = nullptr;
  valueToString = nullptr;
}

void CParamDisplay::setStringConvert(void (*convert)(float, char*, void*), void* userData) {
  stringConvert = nullptr;
  stringConvertWithData = convert;
  valueToString = nullptr;
  convertData = userData;
}

void CParamDisplay::setValueToStringProc(CParamDisplayValueToStringProc proc, void* userData) {
  stringConvert = nullptr;
  stringConvertWithData = nullptr;
  valueToString = proc;
  convertData = userData;
}

std::string CParamDisplay::getDisplayText() const {
  char text[kParamDisplayTextSize] = {0};
  const float v = getValue();
  if (stringConvert) {
    stringConvert(v, text);
  } else if (stringConvertWithData) {
    stringConvertWithData(v, text, convertData);
  } else if (!valueToString || !valueToString(v, text, convertData)) {
    std::snprintf(text, sizeof text, "%2.2f", v);
  }
  text[kParamDisplayTextSize - 1] = 0;
  return text;
}

void CParamDisplay::drawBack(CDrawContext* context) {
  if (background) {
    background->draw(context, size, backOffset);
  } else if (!transparent) {
    context->setFillColor(backColor);
    context->drawRect(size, kDrawFilled);
  }
  if (!(style & (k3DIn | k3DOut | kNoFrame))) {
    context->setFrameColor(frameColor);
    context->drawRect(size, kDrawStroked);
  }
}

CHoriTxtAlign CParamDisplay::alignmentFor(CDrawContext* context, const char* text,
                                          const CRect& textRect) const {
  // A text wider than the field shows its start rather than its middle.
  if (showStartWhenTooWide && horiAlign != kLeftText &&
      context->getStringWidth(text) > textRect.getWidth())
    return kLeftText;
  return horiAlign;
}

void CParamDisplay::drawText(CDrawContext* context, const char* text) {
  if (style & kNoTextStyle || !text || !*text) return;
  context->setFont(&font);
  CRect textRect = size;
  // Keep the text off the frame line.
  textRect.inset(2, 0);
  const CHoriTxtAlign align = alignmentFor(context, text, textRect);
  if (style & kShadowText) {
    CRect shadowRect = textRect;
    shadowRect.offset(1, 1);
    context->setFontColor(shadowColor);
    context->drawString(text, shadowRect, align, antialias);
  }
  context->setFontColor(fontColor);
  context->drawString(text, textRect, align, antialias);
}

void CParamDisplay::draw(CDrawContext* context) {
  if (!(style & kNoDrawStyle)) {
    drawBack(context);
    drawText(context, getDisplayText().c_str());
  }
  setDirty(false);
}

bool CParamDisplay::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CParamDisplay") == 0) ||
         CControl::isTypeOf(className);
}
