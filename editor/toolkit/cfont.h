// Font descriptions: a family name resolved through fontconfig by cairo,
// a pixel size and a style.
#pragma once

#include <string>

#include "editor/toolkit/cbaseobject.h"
#include "editor/toolkit/cgeometry.h"

enum CTxtFace {
  kNormalFace = 0,
  kBoldFace = 1 << 1,
  kItalicFace = 1 << 2,
  kUnderlineFace = 1 << 3,
};

class CFontDesc : public CBaseObject {
 public:
  CFontDesc(const char* name = "", CCoord size = 0, int32_t style = kNormalFace)
      : name(name ? name : ""), size(size), style(style) {}

  const char* getName() const { return name.c_str(); }
  CCoord getSize() const { return size; }
  int32_t getStyle() const { return style; }
  void setName(const char* newName) { name = newName ? newName : ""; }
  void setSize(CCoord newSize) { size = newSize; }
  void setStyle(int32_t newStyle) { style = newStyle; }

 private:
  std::string name;
  CCoord size;
  int32_t style;
};

using CFontRef = CFontDesc*;

extern const CFontRef kSystemFont;
extern const CFontRef kNormalFontVeryBig;
extern const CFontRef kNormalFontBig;
extern const CFontRef kNormalFont;
extern const CFontRef kNormalFontSmall;
extern const CFontRef kNormalFontSmaller;
extern const CFontRef kNormalFontVerySmall;
extern const CFontRef kSymbolFont;
