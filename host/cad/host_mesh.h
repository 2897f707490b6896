#pragma once

// The stand-in host's triangle mesh (IZelMesh, IZelMeshExt): vertices and triangles given when it is made and
// never changed after, so every operation is safe on any thread. A mesh that is not valid (see IZelMesh)
// answers false to every geometric operation rather than a made-up result.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <Eigen/Core>

#include "host/core/host_unknown.h"
#include "host_api/zel_mesh.h"

class HostMesh : public IZelMesh, public IZelMeshExt, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostMesh";
  using Point = std::array<double, 3>;
  using Triangle = std::array<int32_t, 3>;  // corner indices into the vertices

  // Where a ray meets the mesh: the distance along the ray (in units of its direction's length), the element
  // and the point.
  struct RayHit {
    double distance = 0;
    int32_t element = -1;
    Eigen::Vector3d point;
  };

  HostMesh(std::vector<Point> vertices, std::vector<Triangle> triangles);

  bool isValid() override { return valid_; }
  ZelMeshHandle handle() override { return static_cast<const HostMesh*>(this); }
  bool locate(ZelMeshHandle mesh, int32_t element, ZelMeshLocation* location) override;
  bool project(ZelMeshHandle mesh, const double point[3], ZelMeshLocation* location) override;
  bool evaluate(ZelMeshHandle mesh, const ZelMeshLocation& location, double point[3],
                double normal[3]) override;
  bool isCad() override { return false; }
  IZelCadModel* cadModel() override { return nullptr; }
  IZelCadTopology* topology() override { return nullptr; }

  // Host side, in the mesh's own coordinates; a mesh that is not valid is never hit.
  // The nearest hit at or in front of the ray's origin, from either side of an element.
  std::optional<RayHit> intersect(const Eigen::Vector3d& origin, const Eigen::Vector3d& direction) const;
  // The unit normal of an element of a valid mesh.
  Eigen::Vector3d normalOf(int32_t element) const;
  int32_t elementCount() const { return static_cast<int32_t>(triangles_.size()); }
  // The largest side of the box around the vertices; 0 for a mesh that is not valid.
  double size() const;
  // The lowest and the highest corner of the box around the vertices; none for a mesh that is not valid.
  std::optional<std::array<Point, 2>> bounds() const;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 protected:
  bool isElement(int32_t element) const { return element >= 0 && element < elementCount(); }
  // Whether the handle is this mesh's and the mesh can answer geometric questions.
  bool answers(ZelMeshHandle mesh) const { return valid_ && mesh == static_cast<const HostMesh*>(this); }

 private:
  using Corners = std::array<Eigen::Vector3d, 3>;

  bool checkValid() const;
  Corners corners(int32_t element) const;

  const std::vector<Point> vertices_;
  const std::vector<Triangle> triangles_;
  const bool valid_;
};
