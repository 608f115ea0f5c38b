// Intrusive reference count: views, bitmaps, fonts and the frame are shared
// with remember() and released with forget(); the last forget() deletes.
#pragma once

#include <cstdint>

class CBaseObject {
 public:
  CBaseObject() = default;
  CBaseObject(const CBaseObject&) : nbReference(1) {}
  CBaseObject& operator=(const CBaseObject&) { return *this; }
  virtual ~CBaseObject() = default;

  virtual void remember() { ++nbReference; }
  virtual void forget() {
    if (--nbReference == 0) delete this;
  }
  int32_t getNbReference() const { return nbReference; }

 private:
  int32_t nbReference = 1;
};
