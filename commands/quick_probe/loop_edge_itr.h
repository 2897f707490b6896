#pragma once

// A set of CAD edges drawn as line strips, one per edge, each the edge's polyline in 32 steps, mapped from
// the model's coordinates to where it is drawn. The strips are made again only when the set changes. Main
// thread only.

#include <cstdint>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "framework/iterators/vertex_runs_itr.h"
#include "host_api/zel_cad.h"

class LoopEdgeItr : public VertexRunsItr {
 public:
  static constexpr const char* interfaceName = "LoopEdgeItr";
  static constexpr int32_t kSamples = 32;

  // The topology must outlive the iterator's use.
  LoopEdgeItr(IZelCadTopology* topology, const Matrix4x4& toDrawn) : topology_(topology), toDrawn_(toDrawn) {}

  // The edges by id; an edge without a polyline draws nothing.
  void setEdges(std::vector<int32_t> edges);
  const std::vector<int32_t>& edges() const { return edges_; }

  const char* className() override { return interfaceName; }

 private:
  IZelCadTopology* topology_;
  Matrix4x4 toDrawn_;
  std::vector<int32_t> edges_;
};
