#pragma once

// The module's closest-point-on-CAD object. The host's sparse tolerancer and distance evaluator do the shape
// work; this object wires them to the model, feeds them one point at a time through a query array made
// once per model, and keeps the last answer: the closest point on the faces and the closest point on the
// edges, each with its element.

#include "basic_types/vector3.h"
#include "commands/features/closest_point_on_cad.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/points.h"
#include "host_api/zel_cad.h"

class ZelClosestPointOnCad : public IZelClosestPointOnCad, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelClosestPointOnCad";

  bool setCadModel(IZelUnknown* model) override;
  bool computeClosestPoint(const Vector3& point, Vector3& closest) override;
  bool getClosestEdge(uint32_t& edge, Vector3& point) override;
  bool getClosestFace(uint32_t& face, Vector3& point) override;
  bool locate(ZelMeshLocation& location, const Vector3& point) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool findServices();

  IZelCadModel* model_ = nullptr;  // not owned: the caller keeps its model alive while attached
  IPtr<ISparseTolerancer> tolerancer_;
  IPtr<IToleranceDistanceEvaluator> evaluator_;
  IPtr<RealPArray> queryPoints_;
  uint32_t closestElement_ = 0;  // the face element of the last closest point; 0 for none
  Vector3 closestPoint_;
  uint32_t closestEdgeElement_ = 0;  // the edge element of the last query; 0 for none
  Vector3 closestEdgePoint_;
};
