#pragma once

// A concrete creator: its class id comes from the module's class table under its class name, and a query
// answers the class name, "IZelUnknown", then the names of its bases (Base::offerBases).
//
//   class HardProbePlaneCreator final : public RegisteredCreator<HardProbePlaneCreator> { ... };

#include "features/creators/hard_probe_feature_creator_base.h"
#include "framework/registrations/registered_classes.h"

template <class Derived, class Base = HardProbeFeatureCreatorBase>
class RegisteredCreator : public Base {
 public:
  RegisteredCreator() : Base(classIdOf(Derived::interfaceName)) {}

  void queryInterface(const char* name, void** out, bool) override {
    QueryChain chain(name, out);
    chain.classLeaf(Derived::interfaceName, static_cast<Derived*>(this), this);
    this->offerBases(chain).end();
  }
  const char* className() override { return Derived::interfaceName; }
};
