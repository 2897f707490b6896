#include "host/cad/cad_surface_model.h"

#include <cfloat>
#include <vector>

#include "basic_types/bit_vector.h"
#include "framework/object/query_chain.h"
#include "host_api/points.h"

namespace {

using Point = BrepModel::Point;

Point pointOf(const double xyz[3]) {
  return {xyz[0], xyz[1], xyz[2]};
}

void store(const Point& p, double out[3]) {
  for (int k = 0; k < 3; ++k) out[k] = p[k];
}

}  // namespace

CadSurfaceModel::CadSurfaceModel(std::shared_ptr<const BrepModel> model)
    : HostMesh(model->tessellation().vertices, model->tessellation().triangles),
      model_(std::move(model)),
      firstElementOfFace_(model_->faceCount(), -1) {
  const std::vector<uint32_t>& faces = model_->tessellation().triangleFaces;
  for (int32_t element = static_cast<int32_t>(faces.size()) - 1; element >= 0; --element) {
    firstElementOfFace_[faces[element] - 1] = element;
  }
}

uint32_t CadSurfaceModel::faceOfElement(int32_t element) const {
  return isElement(element) ? model_->tessellation().triangleFaces[element] : 0;
}

bool CadSurfaceModel::project(ZelMeshHandle mesh, const double point[3], ZelMeshLocation* location) {
  if (!answers(mesh) || !location) return false;
  const uint32_t face = faceOfElement(location->element);
  if (!face) return false;
  std::optional<std::array<double, 2>> parameter = model_->parameterOf(face, pointOf(point));
  if (!parameter) return false;
  location->u = (*parameter)[0];
  location->v = (*parameter)[1];
  return true;
}

bool CadSurfaceModel::evaluate(ZelMeshHandle mesh, const ZelMeshLocation& location, double point[3],
                               double normal[3]) {
  if (!answers(mesh)) return false;
  const uint32_t face = faceOfElement(location.element);
  if (!face || !(location.u < FLT_MAX && location.v < FLT_MAX)) return false;  // also refuses NaN
  Point p, n;
  if (!model_->evaluate(face, {location.u, location.v}, p, n)) return false;
  store(p, point);
  store(n, normal);
  return true;
}

uint32_t CadSurfaceModel::faceIdOf(uint32_t element) {
  return element >= 1 && element <= model_->faceCount() ? element : 0;
}

uint32_t CadSurfaceModel::edgeIdOf(uint32_t element) {
  const uint32_t faces = model_->faceCount();
  return element > faces && element - faces <= model_->edgeCount() ? element - faces : 0;
}

bool CadSurfaceModel::locate(uint32_t element, const double point[3], ZelMeshLocation* location) {
  const uint32_t face = faceIdOf(element);
  if (!face || !location || firstElementOfFace_[face - 1] < 0) return false;
  ZelMeshLocation located{firstElementOfFace_[face - 1], FLT_MAX, FLT_MAX};
  if (!project(HostMesh::handle(), point, &located)) return false;
  *location = located;
  return true;
}

bool CadSurfaceModel::evaluate(const ZelMeshLocation& location, double point[3], double normal[3]) {
  return evaluate(HostMesh::handle(), location, point, normal);
}

ZelSurfaceKind CadSurfaceModel::surfaceKind(uint32_t face) {
  return static_cast<ZelSurfaceKind>(model_->surface(face).kind);
}

ZelCurveKind CadSurfaceModel::curveKind(uint32_t edge) {
  return static_cast<ZelCurveKind>(model_->curve(edge).kind);
}

uint32_t CadSurfaceModel::edgeFace(uint32_t edge, int32_t side) {
  if (side != 0 && side != 1) return 0;
  return model_->edgeFaces(edge)[side];
}

bool CadSurfaceModel::sameSurfaceFaces(uint32_t face, BitVector& faces) {
  const std::vector<uint32_t>& group = model_->sameSurfaceFaces(face);
  if (group.empty()) return false;
  for (uint32_t member : group) {
    if (static_cast<int32_t>(member) > faces.maxBit()) faces.resize(static_cast<int32_t>(member));
    faces.set(static_cast<int32_t>(member));
  }
  return true;
}

bool CadSurfaceModel::edgePolyline(uint32_t edge, int32_t samples, RealPArray* points) {
  if (!points) return false;
  const std::vector<Point> polyline = model_->polyline(edge, samples);
  if (polyline.empty()) return false;
  std::vector<double> entry(points->entryWidth(), 0.0);
  for (const Point& p : polyline) {
    store(p, entry.data());
    points->append(entry.data());
  }
  return true;
}

bool CadSurfaceModel::parameterOf(uint32_t face, const double point[3], double parameter[2]) {
  std::optional<std::array<double, 2>> found = model_->parameterOf(face, pointOf(point));
  if (!found) return false;
  parameter[0] = (*found)[0];
  parameter[1] = (*found)[1];
  return true;
}

bool CadSurfaceModel::evaluate(uint32_t face, double point[3], const double parameter[2]) {
  Point p, normal;
  if (!model_->evaluate(face, {parameter[0], parameter[1]}, p, normal)) return false;
  store(p, point);
  return true;
}

void CadSurfaceModel::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, static_cast<IZelMesh*>(this))
      .offer<HostMesh>(this)
      .offer<IZelMesh>(this)
      .offer<IZelMeshExt>(this)
      .offer<IZelCadModel>(this)
      .offer<IZelCadTopology>(this)
      .offer<IZelCadSurfaceData>(this)
      .offer<IZelCadTolerance>(this)
      .end();
}
