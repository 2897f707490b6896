#include "commands/features/feature_collector_initializer.h"

#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"

void HardProbeCreateFeaturesUtil::FeatureCollectorInitializer::initialise(IZelFeatureCollector* collector) {
  if (!collector) {
    reportAssertion("collector", "hardprobecreatefeaturesutil", __LINE__);
    return;
  }
  collector->setFeatureName(collector->typeName());
  collector->refreshInfo();
}

void HardProbeCreateFeaturesUtil::FeatureCollectorInitializer::queryInterface(const char* name, void** out,
                                                                              bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).end();
}
