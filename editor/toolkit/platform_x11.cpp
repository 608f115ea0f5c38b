#include "editor/toolkit/platform_x11.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "editor/toolkit/cframe.h"
#include "editor/toolkit/x11_blit.h"
#include "editor/toolkit/x11_error_trap.h"
#include "editor/toolkit/x11_popup_menu.h"

namespace {

// Two presses of one button this close in time and space make a double click.
constexpr Time kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;
// X wheel buttons: 4 up, 5 down.
constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;
// First keysym of the directly Unicode-mapped range.
constexpr KeySym kUnicodeKeysymBase = 0x01000000;
constexpr KeySym kLatin1Last = 0xff;

std::atomic<int> openDisplays{0};

int32_t modifiersOf(unsigned int state) {
  int32_t result = 0;
  if (state & ShiftMask) result |= kShift;
  if (state & ControlMask) result |= kControl;
  if (state & Mod1Mask) result |= kAlt;
  return result;
}

int32_t heldButtonsOf(unsigned int state) {
  int32_t result = 0;
  if (state & Button1Mask) result |= kLButton;
  if (state & Button2Mask) result |= kMButton;
  if (state & Button3Mask) result |= kRButton;
  return result;
}

int32_t buttonOf(unsigned int button) {
  switch (button) {
    case Button1: return kLButton;
    case Button2: return kMButton;
    case Button3: return kRButton;
    default: return 0;
  }
}

unsigned char virtualKeyOf(KeySym sym) {
  switch (sym) {
    case XK_BackSpace: return VKEY_BACK;
    case XK_Tab: return VKEY_TAB;
    case XK_Return: return VKEY_RETURN;
    case XK_KP_Enter: return VKEY_ENTER;
    case XK_Escape: return VKEY_ESCAPE;
    case XK_space: return VKEY_SPACE;
    case XK_Left: return VKEY_LEFT;
    case XK_Up: return VKEY_UP;
    case XK_Right: return VKEY_RIGHT;
    case XK_Down: return VKEY_DOWN;
    case XK_Home: return VKEY_HOME;
    case XK_End: return VKEY_END;
    case XK_Page_Up: return VKEY_PAGEUP;
    case XK_Page_Down: return VKEY_PAGEDOWN;
    case XK_Insert: return VKEY_INSERT;
    case XK_Delete: return VKEY_DELETE;
    default: return 0;
  }
}

VstKeyCode keyCodeOf(XKeyEvent& event) {
  char buffer[8];
  KeySym sym = NoSymbol;
  XLookupString(&event, buffer, sizeof buffer, &sym, nullptr);
  VstKeyCode key{};
  key.virt = virtualKeyOf(sym);
  if (key.virt == 0 || key.virt == VKEY_SPACE) {
    if (sym >= 0x20 && sym <= kLatin1Last)
      key.character = static_cast<VstInt32>(sym);
    else if (sym > kUnicodeKeysymBase)
      key.character = static_cast<VstInt32>(sym - kUnicodeKeysymBase);
  }
  if (event.state & ShiftMask) key.modifier |= MODIFIER_SHIFT;
  if (event.state & ControlMask) key.modifier |= MODIFIER_CONTROL;
  if (event.state & Mod1Mask) key.modifier |= MODIFIER_ALTERNATE;
  return key;
}

class X11Frame : public IPlatformFrame {
 public:
  X11Frame(CFrame* frame, Display* display, Window parent, const CRect& size)
      : frame(frame), display(display), parent(parent) {
    const int screen = DefaultScreen(display);
    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | EnterWindowMask | LeaveWindowMask | KeyPressMask |
                            KeyReleaseMask | StructureNotifyMask | FocusChangeMask;
    attributes.background_pixmap = None;  // the back buffer paints everything
    (void)size;
    zoom = frame->getZoom();
    width = frame->getPixelWidth();
    height = frame->getPixelHeight();
    window = XCreateWindow(display, parent, 0, 0, static_cast<unsigned>(width),
                           static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWEventMask | CWBackPixmap, &attributes);
    if (x11::takeError(display) != 0) window = 0;
    if (!window) return;
    XWindowAttributes windowAttributes;
    Visual* visual = DefaultVisual(display, screen);
    int depth = DefaultDepth(display, screen);
    if (XGetWindowAttributes(display, window, &windowAttributes)) {
      visual = windowAttributes.visual;
      depth = windowAttributes.depth;
    }
    blitter = std::make_unique<X11Blitter>(display, window, visual, depth, width, height);
    XMapWindow(display, window);
    XFlush(display);
  }

  ~X11Frame() override {
    popup.reset();
    blitter.reset();
    if (window && !windowGone) XDestroyWindow(display, window);
    x11::takeError(display);
    x11::unregisterDisplay(display);
    XCloseDisplay(display);
    --openDisplays;
  }

  bool isUsable() const { return window != 0; }

  void pumpEvents() override {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      dispatch(event);
      // A handler may have closed the frame; this object then goes soon.
      if (frame->getPlatformFrame() != this) return;
    }
  }

  void present(const CRect& rect) override {
    presentPixels(CRect(rect.left * zoom, rect.top * zoom, rect.right * zoom, rect.bottom * zoom));
  }

  bool getCurrentMousePosition(CPoint& where) override {
    if (windowGone) return false;
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask;
    if (!XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &mask)) return false;
    where = toFrame(x, y);
    return true;
  }

  CButtonState getCurrentMouseButtons() override {
    if (windowGone) return 0;
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask = 0;
    XQueryPointer(display, window, &root, &child, &rootX, &rootY, &x, &y, &mask);
    return heldButtonsOf(mask) | modifiersOf(mask);
  }

  void setKeyboardFocus(bool state) override {
    if (windowGone) return;
    if (state) {
      XSetInputFocus(display, window, RevertToParent, lastEventTime);
    } else {
      Window focused;
      int revert;
      XGetInputFocus(display, &focused, &revert);
      if (focused == window) XSetInputFocus(display, parent, RevertToParent, lastEventTime);
    }
    x11::takeError(display);
  }

  void showPopupMenu(const CPoint& where, const std::vector<PopupMenuEntry>& entries,
                     int32_t itemsPerColumn) override {
    popup.reset();
    int rootX = 0, rootY = 0;
    Window child;
    XTranslateCoordinates(display, window, DefaultRootWindow(display),
                          static_cast<int>(std::lround(where.x * zoom)),
                          static_cast<int>(std::lround(where.y * zoom)), &rootX, &rootY, &child);
    // Opened by a press: a second press within the double-click time is
    // part of the same gesture, not a choice.
    popup = std::make_unique<X11PopupMenu>(display, rootX, rootY, entries, itemsPerColumn,
                                           lastPressTime + kDoubleClickMs);
    if (!popup->isOpen()) {
      popup.reset();
      frame->closePopupMenu(-1);
    }
  }

  void hidePopupMenu() override { popup.reset(); }

 private:
  // Window pixels to frame units: the frame lays its views out at 1×.
  CPoint toFrame(int x, int y) const { return frame->fromPixels(x, y); }

  void presentPixels(const CRect& pixels) {
    if (!blitter || windowGone) return;
    blitter->blit(frame->getBackBuffer(), pixels);
    XFlush(display);
  }

  void dispatch(XEvent& event) {
    if (popup && event.xany.window == popup->getWindow()) {
      int32_t chosen = -1;
      const X11PopupMenu::Outcome outcome = popup->handleEvent(event, chosen);
      if (outcome == X11PopupMenu::Outcome::kChosen) frame->closePopupMenu(chosen);
      if (outcome == X11PopupMenu::Outcome::kDismissed) frame->closePopupMenu(-1);
      return;
    }
    if (event.xany.window != window) return;
    switch (event.type) {
      case Expose:
        presentPixels(CRect(event.xexpose.x, event.xexpose.y,
                            event.xexpose.x + event.xexpose.width,
                            event.xexpose.y + event.xexpose.height));
        break;
      case ButtonPress:
        onButtonPress(event.xbutton);
        break;
      case ButtonRelease: {
        lastEventTime = event.xbutton.time;
        const int32_t button = buttonOf(event.xbutton.button);
        if (button)
          frame->platformOnMouseUp(toFrame(event.xbutton.x, event.xbutton.y),
                                   button | modifiersOf(event.xbutton.state));
        break;
      }
      case MotionNotify: {
        // Only the latest position of a burst matters.
        while (XCheckTypedWindowEvent(display, window, MotionNotify, &event)) {
        }
        frame->platformOnMouseMoved(toFrame(event.xmotion.x, event.xmotion.y),
                                    heldButtonsOf(event.xmotion.state) |
                                        modifiersOf(event.xmotion.state));
        break;
      }
      case EnterNotify:
        frame->platformOnMouseMoved(toFrame(event.xcrossing.x, event.xcrossing.y),
                                    heldButtonsOf(event.xcrossing.state) |
                                        modifiersOf(event.xcrossing.state));
        break;
      case LeaveNotify:
        if (event.xcrossing.mode == NotifyNormal)
          frame->platformOnMouseExited(toFrame(event.xcrossing.x, event.xcrossing.y),
                                       modifiersOf(event.xcrossing.state));
        break;
      case KeyPress: {
        lastEventTime = event.xkey.time;
        VstKeyCode key = keyCodeOf(event.xkey);
        frame->platformOnKeyDown(key);
        break;
      }
      case KeyRelease: {
        VstKeyCode key = keyCodeOf(event.xkey);
        frame->platformOnKeyUp(key);
        break;
      }
      case FocusOut:
        // Leaving the window ends text editing (and keeps what was typed).
        // Pointer-root and inferior changes are not a real loss of focus.
        if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
            event.xfocus.detail != NotifyPointer && event.xfocus.detail != NotifyPointerRoot &&
            frame->getFocusView())
          frame->setFocusView(nullptr);
        break;
      case DestroyNotify:
        windowGone = true;
        break;
      default:
        break;
    }
  }

  void onButtonPress(const XButtonEvent& press) {
    lastEventTime = press.time;
    const CPoint where = toFrame(press.x, press.y);
    const int32_t modifiers = modifiersOf(press.state);
    if (press.button == kWheelUp || press.button == kWheelDown) {
      frame->platformOnMouseWheel(where, press.button == kWheelUp ? 1.f : -1.f, modifiers);
      return;
    }
    const int32_t button = buttonOf(press.button);
    if (!button) return;
    int32_t buttons = button | modifiers;
    const bool doubleClick = press.button == lastPressButton &&
                             press.time - lastPressTime <= kDoubleClickMs &&
                             std::abs(press.x - lastPressX) <= kDoubleClickDistance &&
                             std::abs(press.y - lastPressY) <= kDoubleClickDistance;
    if (doubleClick) {
      buttons |= kDoubleClick;
      lastPressButton = 0;  // a third press starts afresh
    } else {
      lastPressButton = press.button;
      lastPressTime = press.time;
      lastPressX = press.x;
      lastPressY = press.y;
    }
    frame->platformOnMouseDown(where, buttons);
  }

  CFrame* frame;
  Display* display;
  Window parent;
  Window window = 0;
  std::unique_ptr<X11Blitter> blitter;
  double zoom = 1.0;  // window pixels per frame unit
  int width = 0;
  int height = 0;
  bool windowGone = false;
  Time lastEventTime = CurrentTime;
  unsigned int lastPressButton = 0;
  Time lastPressTime = 0;
  int lastPressX = 0;
  int lastPressY = 0;
  std::unique_ptr<X11PopupMenu> popup;
};

}  // namespace

std::unique_ptr<IPlatformFrame> createX11PlatformFrame(CFrame* frame, void* parentWindow,
                                                       const CRect& size) {
  if (!frame || !parentWindow) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  ++openDisplays;
  x11::registerDisplay(display);
  const Window parent = static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow));
  auto platform = std::make_unique<X11Frame>(frame, display, parent, size);
  if (!platform->isUsable()) return nullptr;  // the destructor closes the display
  return platform;
}

int x11OpenDisplayCount() { return openDisplays.load(); }
