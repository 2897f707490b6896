#pragma once

// The surface model of a CAD object: the tessellation of a B-rep model as a HostMesh, which the view's
// pickers hit, together with the model itself (IZelCadModel), its topology and what the closest-point
// services are given of it. A location on it carries the exact surface parameters of its element's face, so
// that projecting a pick onto it lands on the true geometry, not on the flat triangle.

#include <memory>
#include <vector>

#include "host/cad/brep_model.h"
#include "host/cad/host_mesh.h"
#include "host_api/zel_cad.h"

class CadSurfaceModel : public HostMesh,
                        public IZelCadModel,
                        public IZelCadTopology,
                        public IZelCadSurfaceData,
                        public IZelCadTolerance {
 public:
  static constexpr const char* interfaceName = "CadSurfaceModel";

  explicit CadSurfaceModel(std::shared_ptr<const BrepModel> model);

  const BrepModel& brep() const { return *model_; }

  // IZelMeshExt
  bool project(ZelMeshHandle mesh, const double point[3], ZelMeshLocation* location) override;
  bool evaluate(ZelMeshHandle mesh, const ZelMeshLocation& location, double point[3],
                double normal[3]) override;
  bool isCad() override { return true; }
  IZelCadModel* cadModel() override { return this; }
  IZelCadTopology* topology() override { return this; }

  // IZelCadModel
  IZelCadSurfaceData* surfaceData() override { return this; }
  uint32_t faceIdOf(uint32_t element) override;
  uint32_t edgeIdOf(uint32_t element) override;
  bool locate(uint32_t element, const double point[3], ZelMeshLocation* location) override;
  using HostMesh::locate;
  bool evaluate(const ZelMeshLocation& location, double point[3], double normal[3]) override;
  using HostMesh::evaluate;

  // IZelCadTopology
  uint32_t faceCount() override { return model_->faceCount(); }
  uint32_t edgeCount() override { return model_->edgeCount(); }
  ZelSurfaceKind surfaceKind(uint32_t face) override;
  ZelCurveKind curveKind(uint32_t edge) override;
  uint32_t edgeFace(uint32_t edge, int32_t side) override;
  bool sameSurfaceFaces(uint32_t face, BitVector& faces) override;
  bool edgePolyline(uint32_t edge, int32_t samples, RealPArray* points) override;
  bool parameterOf(uint32_t face, const double point[3], double parameter[2]) override;
  bool evaluate(uint32_t face, double point[3], const double parameter[2]) override;

  // IZelCadSurfaceData, IZelCadTolerance
  IZelCadTolerance* tolerance() override { return this; }
  ZelToleranceHandle toleranceHandle() override { return model_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The face of an element of the mesh; 0 for none.
  uint32_t faceOfElement(int32_t element) const;

  std::shared_ptr<const BrepModel> model_;
  std::vector<int32_t> firstElementOfFace_;  // -1 for a face the tessellation left without triangles
};
