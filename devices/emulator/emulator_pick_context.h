#pragma once

// Where the mouse meets the reference model, for one emulation run: the host's picker cast at the reference
// object, the hit mapped into the world by the object's world transform. On a CAD reference model whose
// surface model ("SurfModel") is a valid mesh, the hit is refined on the mesh (projected onto the element
// hit, with the mesh's point and normal there); when the refinement fails the plain pick stands, so a hit
// always has a mapped point and the element's normal.
//
// Made on the worker thread, then used by the main thread alone.

#include <optional>

#include "basic_types/vector3.h"
#include "framework/object/iptr.h"
#include "host_api/gfx_view.h"
#include "host_api/pick_on_model.h"
#include "host_api/view_input.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_mesh.h"

struct SurfaceHit {
  Vector3 point;
  Vector3 normal;
};

class EmulatorPickContext {
 public:
  explicit EmulatorPickContext(IZelDocObject* reference);
  EmulatorPickContext(const EmulatorPickContext&) = delete;
  EmulatorPickContext& operator=(const EmulatorPickContext&) = delete;

  // The world point and normal under the mouse, or none when the pick misses or cannot be made, or gives a
  // point or normal that is not finite (said to the user once per context).
  std::optional<SurfaceHit> pick(IZelMouseData* mouse);

 private:
  void findSurfaceModel();
  // The mesh's point and normal at the hit, in the object's coordinates; none when any step fails.
  std::optional<SurfaceHit> refine(const Vector3& hitPoint, int32_t element);

  IPtr<IGenGfxService> graphics_;
  IPtr<IZelPickOnModel> picker_;
  IPtr<IZelDocObject> reference_;
  IPtr<IZelMeshExt> mesh_;  // the CAD reference's surface model, or empty
  ZelMeshHandle handle_ = nullptr;
  bool toldNotFinite_ = false;
};
