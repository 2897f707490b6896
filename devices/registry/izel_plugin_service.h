#pragma once

// The registry of the module's device objects and plug-in managers by name: "HardProbe" (the single-point
// device and the hard-probe manager), "HardProbeContinuous" (the continuous device) and "LaserScan" (the
// scanner and its manager). Names match exactly, letter case included. Main thread only.

#include "basic_types/zel_cstring.h"
#include "host_api/zel_unknown.h"

class IZelPluginManager;
class IZelPluginDevice;

class IZelPluginService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginService";

  // Stores the manager under name (null allowed: the entry then yields null), holding one reference on it and
  // letting go of the one stored before.
  virtual void setManager(const ZelCString& name, IZelPluginManager* manager) = 0;
  // The manager stored under name, without a reference for the caller; null when there is none.
  virtual IZelPluginManager* getManager(const ZelCString& name) = 0;
  virtual void setDevice(const ZelCString& name, IZelPluginDevice* device) = 0;
  virtual IZelPluginDevice* getDevice(const ZelCString& name) = 0;
};
