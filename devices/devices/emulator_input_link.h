#pragma once

// Whether a device feeds the module's emulator from the host's view while it acquires with it. The hard-probe
// devices do: when their plug-in is the emulator ("EmulatorPlugin"), they hold an event manager that hands
// the view's mouse and key input to the emulator's run until the acquisition stops; both devices acquiring
// with it share the emulator's one manager. The scanner never drives the emulator. Main thread only.

#include "devices/contracts/plugin.h"
#include "devices/emulator/emulator_plugin_event_manager.h"
#include "framework/object/iptr.h"

class EmulatorInputLink {
 public:
  // Starts feeding the plug-in when it is the emulator; nothing for any other plug-in.
  void attach(IZelPlugin* plugin);
  void release() { manager_.release(); }

 private:
  IPtr<EmulatorPluginEventManager> manager_;
};

class NoEmulatorInput {
 public:
  void attach(IZelPlugin*) {}
  void release() {}
};
