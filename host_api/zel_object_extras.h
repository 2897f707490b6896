#pragma once

// What the host's document objects carry beside their data: named texts for the host's own use (icon
// overrides), a state, a list of related objects by name, and the groups that hold objects together.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelDocObject;

// A document object's named texts.
class IZelStringValue : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelStringValue";

  virtual void setStringValue(const char* key, const ZelString& value) = 0;
  // Empty for a key never set.
  virtual ZelString stringValue(const char* key) = 0;
};

// A document object's state by name, as the host tracks it ("newState": just made by a command).
class IZelObjectState : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectState";

  virtual void setState(const char* state) = 0;
};

// A list of objects a document object keeps in order (a curve object's "CurveBySectionPolylines"), found as
// the object's part of that name.
class IZelObjectList : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectList";

  // Holds a reference; false for null.
  virtual bool add(IZelUnknown* item) = 0;
  virtual int32_t count() = 0;
  // From 1; without a reference for the caller, or null.
  virtual IZelUnknown* at(int32_t index) = 0;
};

// The curve ends drawn with a curve object, its part "PrimCurveEnds".
class IZelCurveEnds : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCurveEnds";

  // update: redraw the object at once.
  virtual void setVisible(bool visible, bool update) = 0;
  virtual bool visible() = 0;
};
