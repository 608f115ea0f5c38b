#include "editor/toolkit/coptionmenu.h"

#include <cstring>

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cframe.h"

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int32_t tag,
                         CBitmap* background, CBitmap* bgWhenClick, const int32_t style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
  this->listener = listener;
  this->tag = tag;
  if (bgWhenClick) bgWhenClick->remember();
  setMin(0.f);
  setMax(0.f);
  setValue(0.f);
}

COptionMenu::COptionMenu(const COptionMenu& menu)
    : CParamDisplay(menu),
      bgWhenClick(menu.bgWhenClick),
      currentIndex(menu.currentIndex),
      itemsPerColumn(menu.itemsPerColumn) {
  if (bgWhenClick) bgWhenClick->remember();
  for (CMenuItem* item : menu.items) {
    item->remember();
    items.push_back(item);
  }
}

COptionMenu::~COptionMenu() {
  if (poppedUp && frame && frame->getOpenPopupMenu() == this) frame->closePopupMenu(-1);
  removeAllEntry();
  if (bgWhenClick) bgWhenClick->forget();
}

CMenuItem* COptionMenu::addEntry(CMenuItem* item, int32_t index) {
  if (!item) return nullptr;
  if (index < 0 || index > getNbEntries())
    items.push_back(item);
  else
    items.insert(items.begin() + index, item);
  setMax(static_cast<float>(getNbEntries() - 1));
  if (currentIndex < 0) currentIndex = 0;
  return item;
}

CMenuItem* COptionMenu::addEntry(const char* title, int32_t index, int32_t itemFlags) {
  // A title of "-" is a separator, as in the toolkit's menus.
  if (title && std::strcmp(title, "-") == 0) return addSeparator(index);
  return addEntry(new CMenuItem(title, itemFlags), index);
}

CMenuItem* COptionMenu::addSeparator(int32_t index) {
  return addEntry(new CMenuItem("", CMenuItem::kSeparator), index);
}

bool COptionMenu::removeEntry(int32_t index) {
  if (index < 0 || index >= getNbEntries()) return false;
  items[static_cast<size_t>(index)]->forget();
  items.erase(items.begin() + index);
  setMax(static_cast<float>(getNbEntries() > 0 ? getNbEntries() - 1 : 0));
  if (currentIndex >= getNbEntries()) currentIndex = getNbEntries() - 1;
  return true;
}

bool COptionMenu::removeAllEntry() {
  for (CMenuItem* item : items) item->forget();
  items.clear();
  currentIndex = -1;
  setMax(0.f);
  return true;
}

CMenuItem* COptionMenu::getEntry(int32_t index) const {
  if (index < 0 || index >= getNbEntries()) return nullptr;
  return items[static_cast<size_t>(index)];
}

int32_t COptionMenu::absoluteIndex(int32_t index, bool countSeparator) const {
  if (countSeparator) return index;
  int32_t seen = -1;
  for (int32_t i = 0; i < getNbEntries(); ++i) {
    if (items[static_cast<size_t>(i)]->isSeparator()) continue;
    if (++seen == index) return i;
  }
  return -1;
}

int32_t COptionMenu::getCurrentIndex(bool countSeparator) const {
  if (countSeparator || currentIndex < 0) return currentIndex;
  int32_t index = 0;
  for (int32_t i = 0; i < currentIndex; ++i)
    if (!items[static_cast<size_t>(i)]->isSeparator()) ++index;
  return index;
}

bool COptionMenu::setCurrent(int32_t index, bool countSeparator) {
  const int32_t absolute = absoluteIndex(index, countSeparator);
  if (absolute < 0 || absolute >= getNbEntries()) return false;
  currentIndex = absolute;
  CParamDisplay::setValue(static_cast<float>(absolute));
  invalid();
  return true;
}

bool COptionMenu::checkEntry(int32_t index, bool state) {
  CMenuItem* item = getEntry(index);
  if (!item || item->isSeparator()) return false;
  item->setChecked(state);
  return true;
}

bool COptionMenu::checkEntryAlone(int32_t index) {
  for (int32_t i = 0; i < getNbEntries(); ++i) items[static_cast<size_t>(i)]->setChecked(i == index);
  return index >= 0 && index < getNbEntries();
}

bool COptionMenu::isCheckEntry(int32_t index) const {
  const CMenuItem* item = getEntry(index);
  return item && item->isChecked();
}

void COptionMenu::setValue(float val) {
  const int32_t index = static_cast<int32_t>(val);
  if (index < 0 || index >= getNbEntries()) return;
  currentIndex = index;
  CParamDisplay::setValue(val);
}

void COptionMenu::draw(CDrawContext* context) {
  if (!(style & kNoDrawStyle)) {
    drawBack(context);
    const CMenuItem* item = getCurrent();
    if (item && !(style & kNoTextStyle)) drawText(context, item->getTitle());
  }
  setDirty(false);
}

std::vector<PopupMenuEntry> COptionMenu::makePopupEntries() const {
  std::vector<PopupMenuEntry> entries;
  entries.reserve(items.size());
  for (int32_t i = 0; i < getNbEntries(); ++i) {
    const CMenuItem* item = items[static_cast<size_t>(i)];
    PopupMenuEntry entry;
    entry.title = item->getTitle();
    entry.separator = item->isSeparator();
    entry.enabled = item->isEnabled() && !item->isTitle();
    if (style & kMultipleCheckStyle)
      entry.checked = item->isChecked();
    else if (style & kCheckStyle)
      entry.checked = i == currentIndex;
    entries.push_back(entry);
  }
  return entries;
}

bool COptionMenu::popup() {
  if (!frame || items.empty() || poppedUp) return false;
  // Pop-up style opens over the control, otherwise the menu drops below it.
  const CPoint where = (style & kPopupStyle) ? size.getTopLeft() : CPoint(size.left, size.bottom);
  poppedUp = frame->openPopupMenu(this, where, makePopupEntries(), itemsPerColumn);
  if (poppedUp) invalid();
  return poppedUp;
}

void COptionMenu::popupClosed(int32_t chosen) {
  poppedUp = false;
  invalid();
  const CMenuItem* item = getEntry(chosen);
  if (!item || item->isSeparator() || !item->isEnabled()) return;
  lastResult = chosen;
  if (style & kMultipleCheckStyle) checkEntry(chosen, !item->isChecked());
  setValue(static_cast<float>(chosen));
  valueChanged();
}

CMouseEventResult COptionMenu::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!(buttons & (kLButton | kRButton | kApple))) return kMouseEventNotHandled;
  popup();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COptionMenu::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "COptionMenu") == 0) ||
         CParamDisplay::isTypeOf(className);
}
