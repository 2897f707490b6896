#pragma once

// What a module hands its host: the component, through the exported EntryPoint. The host initialises it with
// its root, then creates the module's classes by id through it.

#include <cstdint>

#include "basic_types/zel_id.h"
#include "host_api/zel_unknown.h"

class IZelRoot;

class IZelComponent : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelComponent";

  // Stores the host root for the life of the module (a later call replaces it). No reference is taken.
  virtual void initialise(IZelRoot* root) = 0;
  virtual void hook(void* a, void* b, void* c) = 0;
  // 1 for a new object, 2 for a shared singleton; 0, with *out untouched, for an unknown class.
  virtual uint32_t createInstance(const ZelID* classId, IZelUnknown** out) = 0;
  virtual const char* buildStamp() = 0;
};

// Runs one self-test entry of a module.
class IZelSelfTestService {
 public:
  virtual ~IZelSelfTestService() = default;
  virtual void runTest(void* entry) = 0;
};

class IZelCompInternal : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCompInternal";

  virtual void reserved1() = 0;
  virtual void reserved2() = 0;
  virtual const ZelID* moduleId() = 0;
  virtual const char* moduleName() = 0;
  virtual const char* buildStamp() = 0;
  virtual uint32_t classCount() = 0;
  // The registry walk: one cursor per module; a new firstClassId restarts every walk.
  virtual bool firstClassId(ZelID* out) = 0;
  virtual bool nextClassId(ZelID* out) = 0;
  // The class's name, or null for an unknown id.
  virtual const char* className(const ZelID* classId) = 0;
  virtual bool reserved3() = 0;
  virtual void selfTest(IZelSelfTestService* testService) = 0;
  using IZelUnknown::className;
};

// The module's one export, with C linkage: writes a new component and the interface version (100) and answers
// 1, or answers 0 (with nothing written when either pointer is null).
extern "C" int32_t EntryPoint(uint32_t* interfaceVersion, IZelComponent** component);
