#include "commands/alignment/common/shown_probe.h"

#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "host_api/module_class_ids.h"

void ShownProbe::show(const ZelString& objectName) {
  if (!object_) object_ = createPointObject(objectName);
  if (graphics_) return;
  graphics_.createInstance(kHardProbeProbeGfxClassId);
  if (!graphics_) return;
  graphics_->setParentObject(object_.get());
  graphics_->attach();
}

void ShownProbe::hide() {
  if (graphics_) {
    graphics_->detach();
    graphics_.release();
  }
  if (object_) {
    removeObjectFromDocument(object_.get());
    object_.release();
  }
}
