#pragma once

// The stand-in host's uniform point sampler ("IPointUniformSampler", a new one per request): it lays a grid
// of cubic cells, the relative spacing times the set's extent on a side, from the corner of the set's box
// and keeps the first point of each cell, in the set's order. An infinite spacing, or a set whose points
// all coincide, keeps the first point alone. One thread at a time.

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/point_uniform_sampler.h"
#include "host_api/points.h"

class HostPointUniformSampler : public IPointUniformSampler, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostPointUniformSampler";

  void setPoints(IZelPoints* points) override { points_ = points; }
  void setRelativeSpacing(double relativeSpacing) override { relativeSpacing_ = relativeSpacing; }
  bool run() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IZelPoints* points_ = nullptr;
  double relativeSpacing_ = 0;
};
