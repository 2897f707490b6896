#pragma once

// The stand-in host's random numbers (the service "IZelRandom"): a 32-bit Mersenne Twister, whose sequence
// for a seed the C++ standard fixes, turned into doubles by our own arithmetic rather than a standard
// distribution (whose results differ between libraries), so a seed gives the same draws everywhere. Safe on
// any thread.

#include <cstdint>
#include <mutex>
#include <random>

#include "host/core/host_unknown.h"
#include "host_api/zel_random.h"

class HostRandom : public IZelRandom, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostRandom";

  void seed(uint32_t seed) override;
  double uniform(double upperBound) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::mt19937 generator_;  // guarded by mutex_; default-seeded until seed is called
};
