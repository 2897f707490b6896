#pragma once

// A set of CAD edges drawn as line strips, one per edge, each the edge's polyline in 32 steps. The strips are
// made again only when the set changes. Main thread only.

#include <cstdint>
#include <vector>

#include "framework/iterators/vertex_runs_itr.h"
#include "host/api/zel_cad.h"

class LoopEdgeItr : public VertexRunsItr {
 public:
  static constexpr const char* interfaceName = "LoopEdgeItr";
  static constexpr int32_t kSamples = 32;

  // The topology must outlive the iterator's use.
  explicit LoopEdgeItr(IZelCadTopology* topology) : topology_(topology) {}

  // The edges by id; an edge without a polyline draws nothing.
  void setEdges(std::vector<int32_t> edges);
  const std::vector<int32_t>& edges() const { return edges_; }

  const char* className() override { return interfaceName; }

 private:
  IZelCadTopology* topology_;
  std::vector<int32_t> edges_;
};
