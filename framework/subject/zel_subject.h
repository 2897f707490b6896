#pragma once

// The module's observer pattern: a subject calls each of its listeners with an event name ("Stop",
// "NewTransform", "NewFeature", "PointsChanged", "UserInstructionsChanged", ...), itself and an untyped data
// pointer whose meaning belongs to the event (a 16-double matrix for "NewTransform", null for most).

#include "host_api/zel_unknown.h"

class IZelSubject;

class IZelListener : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelListener";
  // Called on the notifying thread, outside the subject's lock.
  virtual void onNotify(const char* event, IZelSubject* subject, void* data) = 0;
};

class IZelSubject : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelSubject";
  // The subject holds no reference: a listener detaches itself before it is destroyed.
  virtual void attach(IZelListener* listener) = 0;
  virtual void detach(IZelListener* listener) = 0;
  virtual void notify(const char* event, void* data) = 0;
};
