#pragma once

// The component the host receives from EntryPoint. Every component shares the one class registry and the one
// host root; each EntryPoint call makes a new one.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_component.h"

class ZelBaseComponent : public IZelComponent, public IZelCompInternal, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelBaseComponent";
  // The build the module reports through both interfaces.
  static constexpr const char* kBuildStamp = "2011-10-27 13:41";
  static constexpr const char* kModuleName = "palpera";

  void initialise(IZelRoot* root) override;
  void hook(void*, void*, void*) override {}
  uint32_t createInstance(const ZelID* classId, IZelUnknown** out) override;
  const char* buildStamp() override { return kBuildStamp; }

  void reserved1() override {}
  void reserved2() override {}
  const ZelID* moduleId() override;
  const char* moduleName() override { return kModuleName; }
  uint32_t classCount() override;
  bool firstClassId(ZelID* out) override;
  bool nextClassId(ZelID* out) override;
  const char* className(const ZelID* classId) override;
  bool reserved3() override { return true; }
  void selfTest(IZelSelfTestService* testService) override;

  // Ignores a null name: the component lists no names.
  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

// Makes the components; one static instance serves EntryPoint.
class ZelBaseComponentFact {
 public:
  virtual ~ZelBaseComponentFact() = default;
  virtual IZelComponent* createComponent();
};
