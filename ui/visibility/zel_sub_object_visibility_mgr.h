#pragma once

// Collects visibility changes of document sub-objects while a command runs, applies them together and later
// puts every sub-object back as it was when its change was recorded. Main thread only.

#include "host_api/zel_sub_objects.h"
#include "host_api/zel_unknown.h"

class IZelSubObjectVisibilityMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelSubObjectVisibilityMgr";

  // Records the sub-object's visibility now and whether it is to be shown or hidden; the view changes only
  // at apply. A null sub-object is not recorded.
  virtual void change(IZelSubObject* subObject, bool visible) = 0;
  // Shows the recorded sub-objects to be shown, then hides those to be hidden, and redraws. The records stay.
  virtual void apply() = 0;
  // Puts back the visibility recorded at each change (those to be shown first, then those to be hidden),
  // redraws and forgets the records.
  virtual void restore() = 0;
};
