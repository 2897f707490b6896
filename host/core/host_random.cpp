#include "host/core/host_random.h"

#include "framework/object/query_chain.h"

void HostRandom::seed(uint32_t seed) {
  std::lock_guard lock(mutex_);
  generator_.seed(seed);
}

double HostRandom::uniform(double upperBound) {
  uint32_t high = 0, low = 0;
  {
    std::lock_guard lock(mutex_);
    high = generator_() >> 5;
    low = generator_() >> 6;
  }
  // 27 and 26 random bits make the 53 of a double's mantissa: a value in [0, 1) on a grid of 2^-53.
  const double unit = (high * 67108864.0 + low) / 9007199254740992.0;
  return unit * upperBound;
}

void HostRandom::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelRandom>(this).end();
}
