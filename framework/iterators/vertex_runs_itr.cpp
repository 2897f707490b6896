#include "framework/iterators/vertex_runs_itr.h"

#include <algorithm>

#include "framework/object/query_chain.h"

void VertexRunsItr::setRuns(std::vector<Run> runs) {
  std::erase_if(runs, [](const Run& run) { return run.vertices.empty(); });
  runs_ = std::move(runs);
  reset();
}

void VertexRunsItr::reset() {
  run_ = vertex_ = 0;
}

bool VertexRunsItr::nextPrimitive(int32_t& type) {
  if (run_ >= runs_.size()) return false;
  type = runs_[run_++].type;
  vertex_ = 0;
  return true;
}

bool VertexRunsItr::hasMoreVertices() {
  return run_ >= 1 && vertex_ < runs_[run_ - 1].vertices.size();
}

bool VertexRunsItr::nextVertex(Vector3& position) {
  if (!hasMoreVertices()) return false;
  position = runs_[run_ - 1].vertices[vertex_++];
  return true;
}

void VertexRunsItr::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(className(), this, static_cast<IZelItr*>(this))
      .offer<IZelItr>(this)
      .offer<IZelPrimitiveItr>(this)
      .end();
}
