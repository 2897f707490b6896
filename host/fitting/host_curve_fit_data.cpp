#include "host/fitting/host_curve_fit_data.h"

#include "framework/object/query_chain.h"

void HostCurveFitData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<ICurveFitDataV2>(this)
      .offer<ICurveFitData>(this)
      .end();
}
