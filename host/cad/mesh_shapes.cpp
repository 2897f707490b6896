#include "host/cad/mesh_shapes.h"

#include <utility>
#include <vector>

namespace {

// A quad's corners in counter-clockwise order seen from where its normal points, as two triangles.
void addQuad(std::vector<HostMesh::Triangle>& triangles, int32_t a, int32_t b, int32_t c, int32_t d) {
  triangles.push_back({a, b, c});
  triangles.push_back({a, c, d});
}

}  // namespace

IPtr<HostMesh> boxMesh(const HostMesh::Point& minimum, const HostMesh::Point& maximum) {
  // Vertex i has the maximum's x when bit 0 is set, y for bit 1 and z for bit 2.
  std::vector<HostMesh::Point> vertices;
  for (int32_t i = 0; i < 8; ++i) {
    vertices.push_back({(i & 1) ? maximum[0] : minimum[0], (i & 2) ? maximum[1] : minimum[1],
                        (i & 4) ? maximum[2] : minimum[2]});
  }
  std::vector<HostMesh::Triangle> triangles;
  for (int32_t axis = 0; axis < 3; ++axis) {
    // Along i then j turns counter-clockwise about the axis, as e_i × e_j = e_axis.
    const int32_t i = 1 << ((axis + 1) % 3), j = 1 << ((axis + 2) % 3), k = 1 << axis;
    addQuad(triangles, k, k | i, k | i | j, k | j);  // the face on the maximum side, facing +axis
    addQuad(triangles, 0, j, i | j, i);              // the face on the minimum side, facing -axis
  }
  return IPtr<HostMesh>(new HostMesh(std::move(vertices), std::move(triangles)));
}

IPtr<HostMesh> gridMesh(const HostMesh::Point& origin, const HostMesh::Point& uEdge,
                        const HostMesh::Point& vEdge, int32_t cells) {
  std::vector<HostMesh::Point> vertices;
  for (int32_t b = 0; b <= cells; ++b) {
    for (int32_t a = 0; a <= cells; ++a) {
      const double s = static_cast<double>(a) / cells, t = static_cast<double>(b) / cells;
      vertices.push_back({origin[0] + s * uEdge[0] + t * vEdge[0], origin[1] + s * uEdge[1] + t * vEdge[1],
                          origin[2] + s * uEdge[2] + t * vEdge[2]});
    }
  }
  std::vector<HostMesh::Triangle> triangles;
  const int32_t row = cells + 1;
  for (int32_t b = 0; b < cells; ++b) {
    for (int32_t a = 0; a < cells; ++a) {
      const int32_t corner = b * row + a;
      addQuad(triangles, corner, corner + 1, corner + 1 + row, corner + row);
    }
  }
  return IPtr<HostMesh>(new HostMesh(std::move(vertices), std::move(triangles)));
}
