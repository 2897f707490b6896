#pragma once

// The probe drawn in the view during a probing run, hung under a temporary document object of its own (so
// that the run's markers can hang there too). The object leaves the document when the probe is hidden or
// the holder goes. Main thread only.

#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class ShownProbe {
 public:
  ShownProbe() = default;
  ShownProbe(const ShownProbe&) = delete;
  ShownProbe& operator=(const ShownProbe&) = delete;
  ~ShownProbe() { hide(); }

  // Makes the object, named objectName, and attaches the probe under it; nothing while shown.
  void show(const ZelString& objectName);
  // Detaches the probe and removes the object; nothing while hidden.
  void hide();
  // Both null while hidden (or when the host could not make them).
  IZelHardProbeProbeGfx* graphics() const { return graphics_.get(); }
  IZelDocObject* object() const { return object_.get(); }

 private:
  IPtr<IZelDocObject> object_;
  IPtr<IZelHardProbeProbeGfx> graphics_;
};
