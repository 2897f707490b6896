#include "host/scene/host_plane_widget.h"

#include <limits>

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/scene/host_pick_on_model.h"
#include "host/scene/host_view_input.h"

namespace {
constexpr int32_t kCameraSpace = 3;
constexpr int32_t kSceneSpace = 4;
constexpr int32_t kLeftButton = 0;
}  // namespace

void HostPlaneWidget::setup(IZelUnknown* owner, int32_t, bool) {
  owner_ = queryPart<IZelPlaneWidgetOwner>(owner);
}

bool HostPlaneWidget::buildGui(IGuiDialog* dialog, bool) {
  if (!dialog) return false;
  dialog_ = dialog;
  groupId_ = dialog->reserveControlIds(1);
  dialog->addControl(groupId_, "group", ZelString(u"PlaneWidget"));
  dialog->setControlText(groupId_, ZelString(u"Plane"));
  return true;
}

void HostPlaneWidget::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (dialog_) dialog_->enableControl(groupId_, enabled, IGuiDialog::kEnableDefault);
}

Matrix4x4 HostPlaneWidget::sceneToCamera() {
  Matrix4x4 matrix = Matrix4x4::identity();
  graphics_.spaceTransform(matrix, kSceneSpace, kCameraSpace, 0, -1);
  return matrix;
}

bool HostPlaneWidget::plane(double plane[4]) {
  if (!plane_) return false;
  Plane shown = *plane_;
  shown.transform(sceneToCamera());
  plane[0] = shown.nx;
  plane[1] = shown.ny;
  plane[2] = shown.nz;
  plane[3] = shown.d;
  return true;
}

bool HostPlaneWidget::displayRectangle(Vector3 corners[4]) {
  if (!plane_) return false;
  const Matrix4x4 toCamera = sceneToCamera();
  for (size_t i = 0; i < rectangle_.size(); ++i)
    corners[i] = Matrix4x4::transformPoint(toCamera, rectangle_[i]);
  return true;
}

bool HostPlaneWidget::onMouseRelease(IGfxMouseData* mouse) {
  if (!active_ || !enabled_ || !mouse || mouse->button() != kLeftButton) return false;
  IPtr<HostMouseData> data(new HostMouseData);
  data->setMouseData(mouse);
  double origin[3];
  double direction[3];
  if (!data->pickRay(origin, direction)) return false;
  const Vector3 from{origin[0], origin[1], origin[2]};
  double nearest = std::numeric_limits<double>::infinity();
  std::optional<std::pair<Vector3, Vector3>> hit;
  for (int32_t i = 0; i < document_.objectCount(); ++i) {
    IZelDocObject* object = document_.objectAt(i);
    IPtr<HostPickOnModel> picker(new HostPickOnModel);
    double point[3];
    double normal[3];
    if (!picker->prepare(data.get()) || !picker->pick(object) || !picker->hitPoint(point) ||
        !picker->hitNormal(normal))
      continue;
    Matrix4x4 toWorld;
    const HostGenGfxService::Matrix world = HostGenGfxService::transformOf(*object);
    std::copy(world.begin(), world.end(), toWorld.m);
    const Vector3 worldPoint = Matrix4x4::transformPoint(toWorld, {point[0], point[1], point[2]});
    const Vector3 worldNormal =
        Matrix4x4::transformPoint(toWorld,
                                  {point[0] + normal[0], point[1] + normal[1], point[2] + normal[2]}) -
        worldPoint;
    const double distance = (worldPoint - from).length();
    if (distance < nearest) {
      nearest = distance;
      hit = std::pair{worldPoint, worldNormal};
    }
  }
  if (!hit) return false;
  place(hit->first, hit->second);
  return true;
}

void HostPlaneWidget::place(const Vector3& point, const Vector3& normal) {
  const Vector3 n = normal.normalized();
  plane_ = Plane{n.x, n.y, n.z, n.dot(point)};
  // Two directions in the plane: the axis least along the normal, made square to it, and their cross.
  Vector3 axis = std::fabs(n.x) < 0.9 ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
  const Vector3 u = (axis - n * n.dot(axis)).normalized();
  const Vector3 v = Vector3::cross(n, u);
  const double half = kSide * displaySize_ / 100.0 / 2.0;
  rectangle_ = {point - u * half - v * half, point + u * half - v * half, point + u * half + v * half,
                point - u * half + v * half};
  if (owner_) owner_->onPlaneWidgetChange(IZelPlaneWidgetOwner::kPlaneChanged);
}

void HostPlaneWidget::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelPlaneWidget>(this).end();
}
