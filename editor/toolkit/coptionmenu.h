// A pop-up menu control: its value is the index of the current entry. A
// click pops the menu up; choosing an entry makes it current and tells the
// listener. With kCheckStyle the current entry carries a check mark.
#pragma once

#include <string>
#include <vector>

#include "editor/toolkit/cparamdisplay.h"
#include "editor/toolkit/platform_frame.h"

class CMenuItem : public CBaseObject {
 public:
  enum Flags { kNoFlags = 0, kDisabled = 1 << 0, kTitle = 1 << 1, kChecked = 1 << 2, kSeparator = 1 << 3 };

  explicit CMenuItem(const char* title, int32_t flags = kNoFlags)
      : title(title ? title : ""), flags(flags) {}

  void setTitle(const char* newTitle) { title = newTitle ? newTitle : ""; }
  const char* getTitle() const { return title.c_str(); }
  void setChecked(bool state) { flags = state ? (flags | kChecked) : (flags & ~kChecked); }
  bool isChecked() const { return (flags & kChecked) != 0; }
  void setEnabled(bool state) { flags = state ? (flags & ~kDisabled) : (flags | kDisabled); }
  bool isEnabled() const { return (flags & kDisabled) == 0; }
  bool isSeparator() const { return (flags & kSeparator) != 0; }
  bool isTitle() const { return (flags & kTitle) != 0; }

 private:
  std::string title;
  int32_t flags;
};

class COptionMenu : public CParamDisplay {
 public:
  COptionMenu(const CRect& size, CControlListener* listener, int32_t tag,
              CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr,
              const int32_t style = 0);
  COptionMenu(const COptionMenu& menu);
  ~COptionMenu() override;

  // The menu takes over the caller's reference to item.
  CMenuItem* addEntry(CMenuItem* item, int32_t index = -1);
  CMenuItem* addEntry(const char* title, int32_t index = -1,
                      int32_t itemFlags = CMenuItem::kNoFlags);
  CMenuItem* addSeparator(int32_t index = -1);
  bool removeEntry(int32_t index);
  bool removeAllEntry();
  int32_t getNbEntries() const { return static_cast<int32_t>(items.size()); }
  CMenuItem* getEntry(int32_t index) const;
  CMenuItem* getCurrent() const { return getEntry(currentIndex); }
  // countSeparator false: the index among the entries that are not separators.
  int32_t getCurrentIndex(bool countSeparator = false) const;
  bool setCurrent(int32_t index, bool countSeparator = true);
  bool checkEntry(int32_t index, bool state);
  bool checkEntryAlone(int32_t index);
  bool isCheckEntry(int32_t index) const;
  void setNbItemsPerColumn(int32_t count) { itemsPerColumn = count; }
  int32_t getNbItemsPerColumn() const { return itemsPerColumn; }
  int32_t getLastResult() const { return lastResult; }

  void setValue(float val) override;
  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

  // Opens the menu through the frame; false without a frame or entries.
  bool popup();
  bool isPoppedUp() const { return poppedUp; }
  // The frame reports the choice here: an entry index, or -1 when dismissed.
  void popupClosed(int32_t chosen);
  // What the pop-up lists, with the check marks the style asks for.
  std::vector<PopupMenuEntry> makePopupEntries() const;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new COptionMenu(*this); }

 private:
  int32_t absoluteIndex(int32_t index, bool countSeparator) const;

  std::vector<CMenuItem*> items;
  CBitmap* bgWhenClick;
  int32_t currentIndex = -1;
  int32_t lastResult = -1;
  int32_t itemsPerColumn = -1;
  bool poppedUp = false;
};
