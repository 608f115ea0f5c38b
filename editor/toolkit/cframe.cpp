#include "editor/toolkit/cframe.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cdrawcontext.h"
#include "editor/toolkit/coptionmenu.h"
#include "editor/toolkit/platform_x11.h"

namespace {
// Beyond this many separate dirty areas one enclosing area is cheaper.
constexpr size_t kMaxDirtyRects = 16;

bool isHandled(CMouseEventResult result) {
  return result == kMouseEventHandled || result == kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
}  // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, double zoom)
    : CView(size), editor(editor), zoom(zoom > 0 ? zoom : 1.0) {
  frame = this;
  createBackBuffer();
  if (systemWindow) open(systemWindow);
}

CFrame::CFrame(const CRect& size, VSTGUIEditorInterface* editor, double zoom)
    : CView(size), editor(editor), zoom(zoom > 0 ? zoom : 1.0) {
  frame = this;
  createBackBuffer();
}

CFrame::~CFrame() {
  if (popupMenu) closePopupMenu(-1);
  setBackgroundMenu(nullptr);
  platform.reset();
  removeAll(true);
  if (backBuffer) cairo_surface_destroy(backBuffer);
}

int32_t CFrame::getPixelWidth() const {
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(size.getWidth() * zoom)));
}

int32_t CFrame::getPixelHeight() const {
  return std::max<int32_t>(1, static_cast<int32_t>(std::lround(size.getHeight() * zoom)));
}

void CFrame::createBackBuffer() {
  backBuffer = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, getPixelWidth(), getPixelHeight());
}

bool CFrame::open(void* systemWindow) {
  platform.reset();
  if (!systemWindow) return true;
  platform = createX11PlatformFrame(this, systemWindow, size);
  fullRedraw = true;
  return platform != nullptr;
}

void CFrame::close() {
  if (popupMenu) closePopupMenu(-1);
  setBackgroundMenu(nullptr);
  setFocusView(nullptr);
  removeAll(true);
  if (pumping)
    retiredPlatform = std::move(platform);
  else
    platform.reset();
  forget();
}

bool CFrame::addView(CView* view) {
  if (!view || isChild(view)) return false;
  views.push_back(view);
  view->attached(this);
  addDirtyRect(view->getViewSize());
  return true;
}

void CFrame::forgetReferencesTo(const CView* view) {
  if (modalView == view) modalView = nullptr;
  if (focusView == view) focusView = nullptr;
  if (mouseDownView == view) mouseDownView = nullptr;
  if (mouseOverView == view) mouseOverView = nullptr;
}

bool CFrame::removeView(CView* view, bool withForget) {
  auto it = std::find(views.begin(), views.end(), view);
  if (it == views.end()) return false;
  views.erase(it);
  if (focusView == view) view->looseFocus();
  forgetReferencesTo(view);
  addDirtyRect(view->getViewSize());
  view->removed(this);
  if (withForget) view->forget();
  return true;
}

bool CFrame::removeAll(bool withForget) {
  while (!views.empty()) removeView(views.back(), withForget);
  return true;
}

CView* CFrame::getView(int32_t index) const {
  if (index < 0 || index >= getNbViews()) return nullptr;
  return views[static_cast<size_t>(index)];
}

bool CFrame::isChild(const CView* view) const {
  return std::find(views.begin(), views.end(), view) != views.end();
}

CView* CFrame::getViewAt(const CPoint& where, bool deep) const {
  (void)deep;
  for (auto it = views.rbegin(); it != views.rend(); ++it)
    if ((*it)->isVisible() && (*it)->getViewSize().pointInside(where)) return *it;
  return nullptr;
}

bool CFrame::setModalView(CView* view) {
  if (view && (modalView || view->isAttached())) return false;
  if (modalView) removeView(modalView, false);
  modalView = view;
  if (view) {
    if (mouseOverView) {
      CPoint where = lastMouse;
      mouseOverView->onMouseExited(where, lastButtons);
      mouseOverView = nullptr;
    }
    addView(view);
    modalView = view;
  }
  return true;
}

void CFrame::setFocusView(CView* view) {
  if (view == focusView) return;
  CView* old = focusView;
  focusView = view;
  if (old) old->looseFocus();
  if (focusView) focusView->takeFocus();
  if (platform) platform->setKeyboardFocus(focusView != nullptr);
}

bool CFrame::getCurrentMouseLocation(CPoint& where) const {
  if (platform) return platform->getCurrentMousePosition(where);
  if (!lastMouseKnown) return false;
  where = lastMouse;
  return true;
}

CButtonState CFrame::getCurrentMouseButtons() const {
  return platform ? platform->getCurrentMouseButtons() : lastButtons;
}

void CFrame::beginEdit(int32_t index) {
  if (editor) editor->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
  if (editor) editor->endEdit(index);
}

int32_t CFrame::getKnobMode() const { return editor ? editor->getKnobMode() : kCircularMode; }

bool CFrame::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CFrame") == 0) || CView::isTypeOf(className);
}

// ---- Mouse, wheel and key routing ----

CView* CFrame::mouseTargetAt(const CPoint& where) const {
  if (modalView)
    return modalView->isVisible() && modalView->getMouseEnabled() &&
                   modalView->getMouseableArea().pointInside(where)
               ? modalView
               : nullptr;
  for (auto it = views.rbegin(); it != views.rend(); ++it)
    if ((*it)->isVisible() && (*it)->getMouseEnabled() &&
        (*it)->getMouseableArea().pointInside(where))
      return *it;
  return nullptr;
}

void CFrame::updateMouseOver(const CPoint& where, const CButtonState& buttons) {
  CView* target = mouseTargetAt(where);
  if (target == mouseOverView) return;
  CPoint p = where;
  if (mouseOverView) mouseOverView->onMouseExited(p, buttons);
  mouseOverView = isChild(target) ? target : nullptr;
  p = where;
  if (mouseOverView) mouseOverView->onMouseEntered(p, buttons);
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (popupMenu) {
    // Off-screen a click anywhere dismisses the menu, as outside a real pop-up.
    closePopupMenu(-1);
    return kMouseEventHandled;
  }
  // A click outside the field being edited ends its editing.
  if (focusView && !focusView->getViewSize().pointInside(where)) setFocusView(nullptr);
  if (modalView) {
    if (!modalView->isVisible() || !modalView->getMouseEnabled()) return kMouseEventNotHandled;
    CView* target = modalView;
    CPoint p = where;
    CMouseEventResult result = target->onMouseDown(p, buttons);
    if (result == kMouseEventHandled && isChild(target)) mouseDownView = target;
    return result;
  }
  // Copy: a handler may add or remove views.
  const std::vector<CView*> order(views.rbegin(), views.rend());
  for (CView* view : order) {
    if (!isChild(view) || !view->isVisible() || !view->getMouseEnabled() ||
        !view->getMouseableArea().pointInside(where))
      continue;
    CPoint p = where;
    CMouseEventResult result = view->onMouseDown(p, buttons);
    if (!isHandled(result)) continue;
    // A view that removed itself (the about picture) gets no further events.
    if (result == kMouseEventHandled && isChild(view)) mouseDownView = view;
    return result;
  }
  return popUpBackgroundMenu(where, buttons) ? kMouseDownEventHandledButDontNeedMovedOrUpEvents
                                             : kMouseEventNotHandled;
}

bool CFrame::popUpBackgroundMenu(const CPoint& where, const CButtonState& buttons) {
  if (!backgroundMenu || !(buttons & kRButton) || getViewAt(where)) return false;
  backgroundMenu->setViewSize(CRect(where.x, where.y, where.x, where.y), false);
  return backgroundMenu->popup();
}

CMouseEventResult CFrame::onMouseUp(CPoint& where, const CButtonState& buttons) {
  CMouseEventResult result = kMouseEventNotHandled;
  if (mouseDownView) {
    CView* target = mouseDownView;
    mouseDownView = nullptr;
    CPoint p = where;
    result = target->onMouseUp(p, buttons);
  }
  updateMouseOver(where, buttons);
  return result;
}

CMouseEventResult CFrame::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (mouseDownView) {
    CPoint p = where;
    return mouseDownView->onMouseMoved(p, buttons);
  }
  updateMouseOver(where, buttons);
  if (!mouseOverView) return kMouseEventNotHandled;
  CPoint p = where;
  return mouseOverView->onMouseMoved(p, buttons);
}

CMouseEventResult CFrame::onMouseExited(CPoint& where, const CButtonState& buttons) {
  if (mouseOverView && !mouseDownView) {
    CView* old = mouseOverView;
    mouseOverView = nullptr;
    CPoint p = where;
    old->onMouseExited(p, buttons);
  }
  return kMouseEventHandled;
}

bool CFrame::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) {
  if (modalView) return modalView->onWheel(where, distance, buttons);
  const std::vector<CView*> order(views.rbegin(), views.rend());
  for (CView* view : order) {
    if (!isChild(view) || !view->isVisible() || !view->getMouseEnabled() ||
        !view->getMouseableArea().pointInside(where))
      continue;
    if (view->onWheel(where, distance, buttons)) return true;
  }
  return false;
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
  // Escape from the host's key events closes an open menu without a choice.
  if (popupMenu && keyCode.virt == VKEY_ESCAPE) {
    closePopupMenu(-1);
    return 1;
  }
  if (focusView) {
    const int32_t used = focusView->onKeyDown(keyCode);
    if (used != -1) return used;
  }
  if (modalView) return modalView->onKeyDown(keyCode);
  CPoint where;
  if (!getCurrentMouseLocation(where)) return -1;
  CView* target = mouseTargetAt(where);
  return target ? target->onKeyDown(keyCode) : -1;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
  if (focusView) {
    const int32_t used = focusView->onKeyUp(keyCode);
    if (used != -1) return used;
  }
  if (modalView) return modalView->onKeyUp(keyCode);
  CPoint where;
  if (!getCurrentMouseLocation(where)) return -1;
  CView* target = mouseTargetAt(where);
  return target ? target->onKeyUp(keyCode) : -1;
}

CMouseEventResult CFrame::platformOnMouseDown(CPoint where, CButtonState buttons) {
  lastMouse = where;
  lastMouseKnown = true;
  lastButtons = buttons;
  return onMouseDown(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseUp(CPoint where, CButtonState buttons) {
  lastMouse = where;
  lastMouseKnown = true;
  lastButtons = buttons;
  return onMouseUp(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseMoved(CPoint where, CButtonState buttons) {
  lastMouse = where;
  lastMouseKnown = true;
  lastButtons = buttons;
  return onMouseMoved(where, buttons);
}

CMouseEventResult CFrame::platformOnMouseExited(CPoint where, CButtonState buttons) {
  lastMouseKnown = false;
  lastButtons = buttons;
  return onMouseExited(where, buttons);
}

bool CFrame::platformOnMouseWheel(CPoint where, float distance, CButtonState buttons) {
  lastMouse = where;
  lastMouseKnown = true;
  return onWheel(where, distance, buttons);
}

bool CFrame::platformOnKeyDown(VstKeyCode& keyCode) { return onKeyDown(keyCode) != -1; }

bool CFrame::platformOnKeyUp(VstKeyCode& keyCode) { return onKeyUp(keyCode) != -1; }

// ---- Pop-up menus ----

void CFrame::setBackgroundMenu(COptionMenu* menu) {
  if (menu == backgroundMenu) return;
  COptionMenu* old = backgroundMenu;
  backgroundMenu = menu;
  if (old) {
    if (popupMenu == old) closePopupMenu(-1);
    old->removed(this);
    old->forget();
  }
  if (menu) menu->attached(this);
}

bool CFrame::openPopupMenu(COptionMenu* menu, const CPoint& where,
                           const std::vector<PopupMenuEntry>& entries, int32_t itemsPerColumn) {
  if (!menu || popupMenu) return false;
  popupMenu = menu;
  popupEntries = entries;
  if (platform) platform->showPopupMenu(where, entries, itemsPerColumn);
  return true;
}

void CFrame::closePopupMenu(int32_t chosen) {
  COptionMenu* menu = popupMenu;
  if (!menu) return;
  popupMenu = nullptr;
  popupEntries.clear();
  if (platform) platform->hidePopupMenu();
  menu->popupClosed(chosen);
}

// ---- Drawing ----

void CFrame::setDirty(bool state) {
  dirty = state;
  if (state) fullRedraw = true;
}

bool CFrame::isDirty() const {
  if (fullRedraw || !dirtyRects.empty()) return true;
  for (const CView* view : views)
    if (view->isVisible() && view->isDirty()) return true;
  return false;
}

void CFrame::invalidRect(const CRect& rect) { addDirtyRect(rect); }

void CFrame::addDirtyRect(const CRect& rect) {
  CRect r = rect;
  r.bound(CRect(0, 0, size.getWidth(), size.getHeight()));
  if (r.isEmpty()) return;
  // Merge with every area it touches, repeatedly, so the list stays disjoint.
  for (bool merged = true; merged;) {
    merged = false;
    for (auto it = dirtyRects.begin(); it != dirtyRects.end(); ++it) {
      if (it->rectOverlap(r)) {
        r.unite(*it);
        dirtyRects.erase(it);
        merged = true;
        break;
      }
    }
  }
  dirtyRects.push_back(r);
  if (dirtyRects.size() > kMaxDirtyRects) {
    CRect all;
    for (const CRect& d : dirtyRects) all.unite(d);
    dirtyRects.assign(1, all);
  }
}

CRect CFrame::onWholePixels(const CRect& rect) const {
  if (zoom == 1.0) return rect;
  return CRect(std::floor(rect.left * zoom) / zoom, std::floor(rect.top * zoom) / zoom,
               std::ceil(rect.right * zoom) / zoom, std::ceil(rect.bottom * zoom) / zoom);
}

// At 150 % a frame unit is a pixel and a half: the area is grown to whole
// pixels first, so no pixel at its edge is left half painted.
void CFrame::paintRect(CDrawContext& context, const CRect& dirtyArea) {
  const CRect rect = onWholePixels(dirtyArea);
  context.setClipRect(rect);
  cairo_t* cr = context.getCairo();
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  if (background) background->draw(&context, rect, rect.getTopLeft());
  const std::vector<CView*> order = views;
  for (CView* view : order) {
    if (!isChild(view) || !view->isVisible() || !view->getViewSize().rectOverlap(rect)) continue;
    view->drawRect(&context, rect);
    view->setDirty(false);
    ++drawCount;
  }
}

void CFrame::repaintDirty() {
  if (!backBuffer || inRepaint) return;
  if (fullRedraw) {
    dirtyRects.assign(1, CRect(0, 0, size.getWidth(), size.getHeight()));
    fullRedraw = false;
    dirty = false;
  }
  for (CView* view : views) {
    if (!view->isDirty()) continue;
    if (view->isVisible())
      addDirtyRect(view->getViewSize());
    else
      view->setDirty(false);
  }
  if (dirtyRects.empty()) return;
  inRepaint = true;
  const std::vector<CRect> rects = std::move(dirtyRects);
  dirtyRects.clear();
  {
    CDrawContext context(backBuffer, zoom);
    for (const CRect& rect : rects) paintRect(context, rect);
  }
  cairo_surface_flush(backBuffer);
  if (platform)
    for (const CRect& rect : rects) platform->present(rect);
  inRepaint = false;
}

void CFrame::draw(CDrawContext* context) {
  if (context) drawRect(context, CRect(0, 0, size.getWidth(), size.getHeight()));
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
  if (context) paintRect(*context, updateRect);
}

void CFrame::platformDrawRect(const CRect& rect) {
  addDirtyRect(rect);
  repaintDirty();
}

void CFrame::idle() {
  // Keep the frame alive even if an event handler closes the editor.
  remember();
  if (platform) {
    pumping = true;
    platform->pumpEvents();
    pumping = false;
  }
  retiredPlatform.reset();
  repaintDirty();
  forget();
}

bool CFrame::writePNG(const char* path) {
  repaintDirty();
  return backBuffer && path &&
         cairo_surface_write_to_png(backBuffer, path) == CAIRO_STATUS_SUCCESS;
}
