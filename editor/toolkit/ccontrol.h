// A view that holds a normalised value with range, default and tag, and
// reports user changes to its listener. It never knows what its tag means.
#pragma once

#include <atomic>

#include "editor/toolkit/cview.h"

class CControl;

class CControlListener {
 public:
  virtual ~CControlListener() = default;
  virtual void valueChanged(CControl* control) = 0;
  virtual int32_t controlModifierClicked(CControl* control, CButtonState button) {
    (void)control, (void)button;
    return 0;
  }
  virtual void controlBeginEdit(CControl* control) { (void)control; }
  virtual void controlEndEdit(CControl* control) { (void)control; }
  virtual void controlTagWillChange(CControl* control) { (void)control; }
  virtual void controlTagDidChange(CControl* control) { (void)control; }
};

class CControl : public CView {
 public:
  CControl(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0,
           CBitmap* background = nullptr);
  CControl(const CControl& control);

  // The value may be set from a host thread while the editor thread draws.
  virtual void setValue(float val) { value.store(val, std::memory_order_relaxed); }
  virtual float getValue() const { return value.load(std::memory_order_relaxed); }
  virtual void setMin(float val) { vmin = val; }
  virtual float getMin() const { return vmin; }
  virtual void setMax(float val) { vmax = val; }
  virtual float getMax() const { return vmax; }
  virtual void setDefaultValue(float val) { defaultValue = val; }
  virtual float getDefaultValue() const { return defaultValue; }
  float getRange() const { return vmax - vmin; }
  float getValueNormalized() const;
  void setValueNormalized(float normalized);
  // Clamps the value to [min, max].
  virtual void bounds();

  virtual void setTag(int32_t val);
  int32_t getTag() const { return tag; }
  void setListener(CControlListener* newListener) { listener = newListener; }
  CControlListener* getListener() const { return listener; }

  // A gesture: the listener and, through the frame, the editor and host hear it.
  virtual void beginEdit();
  virtual void endEdit();
  bool isEditing() const { return editing > 0; }
  // Tells the listener that the user changed the value.
  virtual void valueChanged();
  // Control-click (the default-value modifier) restores the default value.
  virtual bool checkDefaultValue(CButtonState button);

  void setWheelInc(float val) { wheelInc = val; }
  float getWheelInc() const { return wheelInc; }
  void setBackOffset(const CPoint& offset) { backOffset = offset; }
  const CPoint& getBackOffset() const { return backOffset; }

  // Dirty also when the value moved since the last draw.
  bool isDirty() const override;
  void setDirty(bool state = true) override;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CControl(*this); }

 protected:
  CControlListener* listener;
  int32_t tag;
  std::atomic<float> value{0.f};
  float drawnValue = -1.f;
  float vmin = 0.f;
  float vmax = 1.f;
  float defaultValue = 0.5f;
  float wheelInc = 0.1f;
  int32_t editing = 0;
  CPoint backOffset;
};
