#include "devices/emulator/emulator_pick_context.h"

#include <cmath>

#include "basic_types/matrix4x4.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/query_part.h"

namespace {

constexpr const char* kCadType = "CAD";
constexpr const char* kSurfaceModel = "SurfModel";

constexpr const char16_t* kNotFinite =
    u"The emulator delivers nothing where the reference model gives a point or normal that is not a finite "
    u"number: the model is too large.";

Vector3 vectorOf(const double xyz[3]) {
  return {xyz[0], xyz[1], xyz[2]};
}

bool isFinite(const Vector3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

}  // namespace

EmulatorPickContext::EmulatorPickContext(IZelDocObject* reference) : reference_(reference) {
  graphics_.getService();
  picker_.getService();
  findSurfaceModel();
}

void EmulatorPickContext::findSurfaceModel() {
  if (!reference_ || !reference_->isType(kCadType)) return;
  IZelUnknown* surface = reference_->subObject(kSurfaceModel);
  IZelMesh* mesh = queryPart<IZelMesh>(surface);
  if (!mesh || !mesh->isValid()) return;
  mesh_ = queryPart<IZelMeshExt>(surface);
  if (mesh_) handle_ = mesh_->handle();
}

std::optional<SurfaceHit> EmulatorPickContext::refine(const Vector3& hitPoint, int32_t element) {
  ZelMeshLocation location;
  if (!mesh_->locate(handle_, element, &location)) return std::nullopt;
  double at[3], point[3], normal[3];
  hitPoint.copyTo(at);
  if (!mesh_->project(handle_, at, &location)) return std::nullopt;
  if (!mesh_->evaluate(handle_, location, point, normal)) return std::nullopt;
  return SurfaceHit{vectorOf(point), vectorOf(normal)};
}

std::optional<SurfaceHit> EmulatorPickContext::pick(IZelMouseData* mouse) {
  if (!picker_ || !reference_) return std::nullopt;
  if (!picker_->prepare(mouse) || !picker_->pick(reference_.get())) return std::nullopt;
  Matrix4x4 world;
  if (graphics_) graphics_->worldTransform(reference_.get(), world.m);

  double point[3], normal[3];
  if (!picker_->hitPoint(point) || !picker_->hitNormal(normal)) return std::nullopt;
  SurfaceHit hit{vectorOf(point), vectorOf(normal)};
  if (mesh_) {
    if (std::optional<SurfaceHit> refined = refine(hit.point, picker_->hitElement())) hit = *refined;
  }
  SurfaceHit mapped{Matrix4x4::transformPoint(world, hit.point),
                    Matrix4x4::transformVector(world, hit.normal)};
  if (isFinite(mapped.point) && isFinite(mapped.normal)) return mapped;
  // A model too large for the arithmetic: a point that is no number must never reach a receiver.
  if (!toldNotFinite_) {
    toldNotFinite_ = true;
    reportUserError(ZelString(kNotFinite));
  }
  return std::nullopt;
}
