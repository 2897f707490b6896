#pragma once

// A concrete collector class: a query answers its class name, "IZelUnknown", its base's class name, then the
// names of the collector base (FeatureCollectorBase::offerBases). The registered ones also hold a
// ClassRegistration in their source file, by which the host creates them by class id.
//
//   class LineCollector final : public ConcreteCollector<LineCollector> { ... };

#include "features/collectors/simple_collector.h"

template <class Derived, class Base = SimpleCollector>
class ConcreteCollector : public Base {
 public:
  ConcreteCollector() : Base(Derived::kTraits) {}

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(Derived::interfaceName, static_cast<Derived*>(this),
                    static_cast<IZelFeatureCollector*>(this));
    chain.offer<Base>(this);
    this->offerBases(chain);
  }
  const char* className() override { return Derived::interfaceName; }
};
