#include "host/fitting/host_spectrum_prim_fitter.h"

#include <vector>

#include "framework/object/query_chain.h"
#include "host/fitting/geometry/plane_fit.h"

bool HostSpectrumPrimFitter::fitPlane(double plane[4], RealPArray* points, int32_t, int32_t, int32_t, int32_t,
                                      int32_t) {
  if (!plane || !points) return false;
  std::vector<Eigen::Vector3d> xyz;
  for (int32_t i = 1; i <= points->count(); ++i) {
    const double* entry = points->at(i);
    xyz.emplace_back(entry[0], entry[1], entry[2]);
  }
  auto fitted = fitting::fitPlane(xyz);
  if (!fitted) return false;
  const Eigen::Vector3d& n = fitted->normal;
  plane[0] = n.x();
  plane[1] = n.y();
  plane[2] = n.z();
  plane[3] = n.dot(fitted->point);
  return true;
}

void HostSpectrumPrimFitter::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<ISpectrumPrimFitter>(this).end();
}
