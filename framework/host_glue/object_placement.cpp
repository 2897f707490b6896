#include "framework/host_glue/object_placement.h"

#include "basic_types/transform_checks.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/host_lookup.h"
#include "framework/translation/tr.h"
#include "host_api/gfx_view.h"

std::optional<ObjectPlacement> ObjectPlacement::fromMatrix(const Matrix4x4& ownToWorld) {
  ObjectPlacement placement;
  if (!isProperRigid(ownToWorld) || !Matrix4x4::invert(ownToWorld, placement.worldToOwn_))
    return std::nullopt;
  placement.ownToWorld_ = ownToWorld;
  return placement;
}

bool ObjectPlacement::isIdentity() const {
  const Matrix4x4 identity;
  for (int i = 0; i < 16; ++i) {
    if (ownToWorld_.m[i] != identity.m[i]) return false;
  }
  return true;
}

std::optional<ObjectPlacement> ObjectPlacement::of(IZelDocObject* object) {
  if (!object) return std::nullopt;
  SPtr<IGenGfxService> graphics;
  Matrix4x4 ownToWorld;
  if (graphics && !graphics->worldTransform(object, ownToWorld.m)) return std::nullopt;
  return fromMatrix(ownToWorld);
}

std::optional<ObjectPlacement> ObjectPlacement::ofReference(IZelDocObject* reference) {
  std::optional<ObjectPlacement> placement = of(reference);
  if (reference && !placement)
    reportUserError(
        tr("The reference object is placed by a transform that is not a rotation and a shift: "
           "the probe cannot be compared with its model."));
  return placement;
}
