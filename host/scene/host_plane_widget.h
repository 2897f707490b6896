#pragma once

// The stand-in host's plane widget ("IZelPlaneWidget", a new one per request). A left click in the view on a
// face of a document object, while the widget is active and enabled, puts the plane through the hit point
// along the face's normal, with a square display rectangle of side kSide × display size / 100 centred on the
// hit point, and tells the owner of the change. The plane is kept in the scene and handed out in the camera's
// coordinates (space 3) of the graphics service. Its panel in a command's dialog is one group,
// "PlaneWidget", titled "Plane". Main thread only.

#include <array>
#include <optional>

#include "basic_types/plane.h"
#include "host/core/host_unknown.h"
#include "host/scene/host_gen_gfx_service.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_plane_widget.h"

class HostPlaneWidget : public IZelPlaneWidget, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPlaneWidget";
  // The rectangle's side at display size 100, in metres.
  static constexpr double kSide = 0.1;

  // Both outlive the widget.
  HostPlaneWidget(IZelDoc& document, HostGenGfxService& graphics)
      : document_(document), graphics_(graphics) {}

  void setup(IZelUnknown* owner, int32_t style, bool flag) override;
  void setOptions(int32_t options) override { options_ = options; }
  void setDisplaySize(int32_t percent) override { displaySize_ = percent; }
  bool buildGui(IGuiDialog* dialog, bool framed) override;
  bool state() override { return state_; }
  void setState(bool on) override { state_ = on; }
  void activate() override { active_ = true; }
  void deactivate() override { active_ = false; }
  void setEnabled(bool enabled) override;
  bool isEnabled() override { return enabled_; }
  bool plane(double plane[4]) override;
  bool displayRectangle(Vector3 corners[4]) override;
  bool onMousePress(IGfxMouseData*) override { return false; }
  bool onMouseMove(IGfxMouseData*) override { return false; }
  bool onMouseRelease(IGfxMouseData* mouse) override;
  bool onKeyPress(IGfxKeyData*) override { return false; }

  // Host side: places the plane through point along normal (scene coordinates), as a pick does.
  void place(const Vector3& point, const Vector3& normal);
  bool active() const { return active_; }
  int32_t options() const { return options_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The matrix from the scene to the camera's coordinates.
  Matrix4x4 sceneToCamera();

  IZelDoc& document_;
  HostGenGfxService& graphics_;
  IZelPlaneWidgetOwner* owner_ = nullptr;
  IGuiDialog* dialog_ = nullptr;
  int32_t groupId_ = 0;
  int32_t options_ = 0;
  int32_t displaySize_ = 100;
  bool state_ = true;
  bool active_ = false;
  bool enabled_ = true;
  std::optional<Plane> plane_;  // in the scene
  std::array<Vector3, 4> rectangle_{};
};
