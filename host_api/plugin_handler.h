#pragma once

// The host's list of loaded device plug-ins. A plug-in is an object that answers "IZelPlugin" (the device
// plug-in contract between the module and its plug-ins); the host holds a reference on each for its whole
// life, so the pointers it hands out stay valid. Safe on any thread.

#include "basic_types/zel_array.h"
#include "host_api/zel_unknown.h"

class IZelPlugin;

class IZelPluginHandler : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPluginHandler";

  // Appends every loaded plug-in's "IZelPlugin" part, in load order, after the list's current items. The
  // pointers carry no reference.
  virtual void getPlugins(ZelCountedArray<IZelPlugin*>& list) = 0;
  // Loads a plug-in made by the module (the emulator): it joins the end of the list. False for a null
  // object, one that does not answer "IZelPlugin", or one already loaded.
  virtual bool registerPlugin(IZelUnknown* plugin) = 0;
};
