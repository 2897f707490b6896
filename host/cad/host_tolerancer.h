#pragma once

// The host's closest-point services on a CAD model: the distance evaluator measures exactly on the model's
// B-rep, and the sparse tolerancer runs queries through it, keeping per query the closest point on the
// faces and the closest point on the edges. A fresh pair serves one caller, on one thread at a time.

#include <cstdint>
#include <vector>

#include "framework/object/iptr.h"
#include "host/cad/cad_surface_model.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_cad.h"

class HostDistanceEvaluator : public IToleranceDistanceEvaluator, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDistanceEvaluator";

  bool setSurfaceData(IZelCadSurfaceData* data) override;

  // Host side: the model measured; null before a successful setSurfaceData.
  CadSurfaceModel* model() const { return model_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<CadSurfaceModel> model_;
};

class HostSparseTolerancer : public ISparseTolerancer, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostSparseTolerancer";

  bool setSurfaceData(IZelCadSurfaceData* data, int32_t faces, int32_t edges) override;
  bool setToleranceHandle(ZelToleranceHandle handle, int32_t flag) override;
  void setOption(int32_t on) override { reportPoints_ = on != 0; }
  void setEvaluator(IToleranceDistanceEvaluator* evaluator) override;
  bool run(RealPArray* points, const BitVector& selection) override;
  bool evaluateFaces() override;
  bool evaluateEdges() override;
  int32_t resultCount() override { return static_cast<int32_t>(elements_.size()); }
  const uint32_t* resultElements() override { return elements_.data(); }
  const float* resultPoints() override { return points_.data(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The model when data, handle and evaluator agree on it; else null.
  const BrepModel* searched() const;
  void addResult(uint32_t element, const BrepModel::Point& point);

  IPtr<CadSurfaceModel> model_;
  bool searchFaces_ = false;
  bool searchEdges_ = false;
  bool current_ = false;
  bool reportPoints_ = false;
  IPtr<HostDistanceEvaluator> evaluator_;
  std::vector<BrepModel::Point> queries_;
  std::vector<uint32_t> elements_;
  std::vector<float> points_;
};
