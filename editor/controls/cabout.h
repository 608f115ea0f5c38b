// The about badge: a click shows the rear-panel picture with the version
// over the window as the frame's modal view; a click on the picture closes it.
#pragma once

#include "editor/toolkit/csplashscreen.h"
#include "halden_version.h"

class CAbout : public CSplashScreen {
 public:
  CAbout(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
         const CRect& displayArea, const CPoint& offset, const CPoint& versionOffset);
  ~CAbout() override;

  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CAbout(*this); }

 private:
  CPoint versionOffset;
};

class CSplashScreenMyView : public CControl {
 public:
  CSplashScreenMyView(const CRect& displayArea, CAbout* about, const CPoint& versionOffset);
  CSplashScreenMyView(const CSplashScreenMyView& view);
  ~CSplashScreenMyView() override;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CSplashScreenMyView(*this); }
  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

  // Shown on the picture, after the version text.
  static constexpr const char* kVersionText = "v." HALDEN_VERSION "\t";

 private:
  CAbout* about;
  CPoint versionOffset;
};
