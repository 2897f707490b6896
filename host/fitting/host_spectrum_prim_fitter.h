#pragma once

// The stand-in host's primitive fitter ("ISpectrumPrimFitter") on the fitting library.

#include "host/core/host_unknown.h"
#include "host_api/spectrum_prim_fitter.h"

class HostSpectrumPrimFitter : public ISpectrumPrimFitter, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostSpectrumPrimFitter";

  bool fitPlane(double plane[4], RealPArray* points, int32_t, int32_t, int32_t, int32_t, int32_t) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
