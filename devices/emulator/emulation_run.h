#pragma once

// The objects of one emulation run: its parameters, random numbers, picker, queue and input handler. The
// worker thread makes them all before it publishes the run; the main thread then uses the random numbers,
// the picker and the handler, both threads the queue. Whoever lets go of the run last ends it, on either
// thread.

#include <memory>

#include "devices/emulator/emulator_event_queue.h"
#include "devices/emulator/emulator_pick_context.h"
#include "devices/emulator/emulator_plugin.h"
#include "framework/object/iptr.h"
#include "host_api/zel_random.h"

// Read from the settings once per run.
struct EmulationParameters {
  double probeRadius = 0;
  // The largest noise along the surface normal, either way.
  double maxNoise = 0;

  static EmulationParameters fromSettings();
};

struct EmulationRun {
  EmulationRun(const EmulationParameters& runParameters, IZelDocObject* reference,
               EmulatorPlugin::Receiver* target);
  EmulationRun(const EmulationRun&) = delete;
  EmulationRun& operator=(const EmulationRun&) = delete;
  ~EmulationRun();

  const EmulationParameters parameters;
  // Seeded with the time at the start of the run; empty when the host has no random numbers.
  IPtr<IZelRandom> random;
  EmulatorPickContext pick;
  EmulatorEventQueue queue;
  std::unique_ptr<EmulatorPlugin::IEventHandler> handler;
};
