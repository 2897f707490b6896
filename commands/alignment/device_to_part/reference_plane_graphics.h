#pragma once

// The view graphics of the reference side of the 3-2-1 device alignment, each a listener of the reference
// planes (reference_planes.h):
// - markers at the picked points of the plane being defined (3 for plane 1, 2 for plane 2, 1 for plane 3),
//   under the reference object's node, redrawn on every "Point";
// - the three reference planes drawn across the reference object, each in its plane colour with a face of
//   that colour at lightness 0.85; an invalid plane hides its widget and those of the planes built on it.
// Main thread only.

#include <array>

#include "basic_types/plane.h"
#include "commands/alignment/device_to_part/reference_planes.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "framework/subject/zel_subject.h"
#include "host_api/alignment_widgets.h"
#include "host_api/zel_doc.h"

class ReferencePointMarkers : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaDeviceToPartAlignmentCmd::Markers";

  // The markers' node goes under owner (null: nowhere).
  explicit ReferencePointMarkers(IZelGroupNode* owner);
  ~ReferencePointMarkers() override;

  // The plane whose points are shown, 1 to 3.
  void setPlane(int plane) { plane_ = plane; }
  void update(const DeviceToPartReferencePlanes& data);
  void setVisible(bool visible);

  void onNotify(const char* event, IZelSubject* subject, void* data) override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelGroupNode> owner_;
  IPtr<IZelMarkersWidget> markers_;
  int plane_ = 1;
};

class ReferencePlaneWidgets : public IZelListener, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaDeviceToPartAlignmentCmd::PlaneGfx";

  explicit ReferencePlaneWidgets(IZelDocObject* reference);
  ~ReferencePlaneWidgets() override;

  void onNotify(const char* event, IZelSubject* subject, void* data) override;
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Plane (1 to 3) shown as given, or, when it is not valid, hidden with the planes after it.
  void show(int plane, const Plane& given);

  std::array<IPtr<IZelObjectPlaneWidget>, 3> widgets_;
};
