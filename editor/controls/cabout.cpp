#include "editor/controls/cabout.h"

#include <cstring>

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cdrawcontext.h"
#include "editor/toolkit/cframe.h"

namespace {
constexpr CCoord kVersionFontSize = 11;
constexpr CCoord kVersionBoxWidth = 100;
constexpr CCoord kVersionBoxHeight = 15;
}  // namespace

CAbout::CAbout(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
               const CRect& displayArea, const CPoint& offset, const CPoint& versionOffset)
    : CSplashScreen(size, listener, tag, background, displayArea, offset),
      versionOffset(versionOffset) {}

CAbout::~CAbout() = default;

CMouseEventResult CAbout::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(getValue() == 0.f ? 1.f : 0.f);
  if (getValue() == 0.f) return kMouseEventHandled;
  if (frame) {
    auto* view = new CSplashScreenMyView(toDisplay, this, versionOffset);
    if (!frame->setModalView(view)) view->forget();
  }
  invalid();
  return kMouseEventHandled;
}

CSplashScreenMyView::CSplashScreenMyView(const CRect& displayArea, CAbout* about,
                                         const CPoint& versionOffset)
    : CControl(displayArea, nullptr, 0, about ? about->getBackground() : nullptr),
      about(about),
      versionOffset(versionOffset) {}

CSplashScreenMyView::CSplashScreenMyView(const CSplashScreenMyView& view)
    : CControl(view), about(view.about), versionOffset(view.versionOffset) {}

CSplashScreenMyView::~CSplashScreenMyView() = default;

bool CSplashScreenMyView::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CSplashScreenMyView") == 0) ||
         CControl::isTypeOf(className);
}

void CSplashScreenMyView::draw(CDrawContext* context) {
  if (background) background->draw(context, size, CPoint(0, 0), 1.f);
  context->setFontColor(kWhiteCColor);
  context->setFont(kNormalFont, kVersionFontSize);
  const CPoint topLeft = size.getTopLeft() + versionOffset;
  const CRect textRect(topLeft, CPoint(kVersionBoxWidth, kVersionBoxHeight));
  context->drawString(kVersionText, textRect, kLeftText, true);
  setDirty(false);
}

CMouseEventResult CSplashScreenMyView::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  if (about) about->unSplash();
  CFrame* owner = frame;
  if (owner) {
    owner->setDirty(true);
    owner->setModalView(nullptr);
  }
  // The last reference: the view is gone after this line.
  forget();
  return kMouseEventHandled;
}
