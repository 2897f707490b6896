#pragma once

// The stand-in host's point field ("IZelVectorWidget"): one text field of a command's dialog showing the
// point as "x, y, z" in the host's current length unit, after a label.

#include "host/core/host_unknown.h"
#include "host_api/vector_input.h"

class HostVectorWidget : public IZelVectorWidget, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostVectorWidget";

  bool build(IGuiDialog* dialog, int32_t id, const char* name, const ZelString& label) override;
  void activate() override { active_ = true; }
  void deactivate() override { active_ = false; }
  void setEditable(bool editable) override;
  void setVector(const Vector3& point) override;
  bool takeText(const ZelString& typed) override;
  Vector3 vector() override { return point_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IGuiDialog* dialog_ = nullptr;  // the command's, which outlives the widget's use
  int32_t id_ = 0;
  bool active_ = false;
  Vector3 point_;
};
