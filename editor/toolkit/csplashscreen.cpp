#include "editor/toolkit/csplashscreen.h"

#include <cstring>

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cframe.h"

namespace {
// The picture: draws the splash bitmap and reports any click to the splash.
class CSplashScreenView : public CControl {
 public:
  CSplashScreenView(const CRect& size, CControlListener* splash, CBitmap* picture,
                    const CPoint& offset)
      : CControl(size, splash, 0, picture) {
    setBackOffset(offset);
  }
  void draw(CDrawContext* context) override {
    if (background) background->draw(context, size, backOffset);
    setDirty(false);
  }
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override {
    (void)where, (void)buttons;
    // The listener closes and releases this view; touch nothing afterwards.
    valueChanged();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
};
}  // namespace

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, int32_t tag,
                             CBitmap* background, const CRect& toDisplay, const CPoint& offset)
    : CControl(size, listener, tag, background), toDisplay(toDisplay), offset(offset) {}

CSplashScreen::CSplashScreen(const CSplashScreen& splash)
    : CControl(splash), CControlListener(), toDisplay(splash.toDisplay), offset(splash.offset) {}

CSplashScreen::~CSplashScreen() {
  if (modalView) modalView->forget();
}

void CSplashScreen::draw(CDrawContext* context) {
  (void)context;
  setDirty(false);
}

CMouseEventResult CSplashScreen::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(getValue() == 0.f ? 1.f : 0.f);
  if (getValue() == 0.f || !frame || modalView) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  modalView = new CSplashScreenView(toDisplay, this, background, offset);
  // One reference for the frame, one kept here until the picture closes.
  modalView->remember();
  if (!frame->setModalView(modalView)) {
    modalView->forget();
    modalView->forget();
    modalView = nullptr;
    setValue(getMin());
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  }
  valueChanged();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CSplashScreen::unSplash() {
  setValue(getMin());
  setDirty(true);
  CView* view = modalView;
  if (!view) return;
  modalView = nullptr;
  if (frame && frame->getModalView() == view) {
    frame->setModalView(nullptr);
    view->forget();
  }
  view->forget();
}

void CSplashScreen::valueChanged(CControl* control) {
  if (control == modalView) {
    unSplash();
    valueChanged();
  }
}

bool CSplashScreen::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CSplashScreen") == 0) ||
         CControl::isTypeOf(className);
}
