#pragma once

// An iterator that gives a static iterator node runs of vertices it was handed (IZelPrimitiveItr): each run
// one primitive of its own type, its vertices in order, without normals. Points, polylines and the like whose
// vertices are known before the node draws them. Main thread only.

#include <cstdint>
#include <vector>

#include "basic_types/vector3.h"
#include "framework/iterators/zel_itr_base.h"
#include "host_api/zel_primitive_itr.h"

class VertexRunsItr : public ZelItrBase, public IZelPrimitiveItr {
 public:
  static constexpr const char* interfaceName = "VertexRunsItr";

  struct Run {
    int32_t type = ZelPrimitiveType::Points;
    std::vector<Vector3> vertices;
  };

  // Replaces the runs; the node shows them at its next draw. Empty runs are left out.
  void setRuns(std::vector<Run> runs);
  const std::vector<Run>& runs() const { return runs_; }

  void reset() override;
  bool nextPrimitive(int32_t& type) override;
  bool hasMoreVertices() override;
  bool nextVertex(Vector3& position) override;
  bool vertexNormal(Vector3&) override { return false; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<Run> runs_;
  size_t run_ = 0;     // runs started
  size_t vertex_ = 0;  // vertices given of the current run
};
