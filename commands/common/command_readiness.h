#pragma once

// Whether a command may start on what the operator sets up: a hard-probe plug-in chosen, the reference model
// loaded and active, the object holding the probed features active. Every command asks it when it activates,
// not in canRun, so that the operator is told what is missing, in one set of messages, rather than find the
// command refused without a word; canRun keeps to the host's own states (a command running, a macro being
// recorded, a section current). Main thread only.

#include "basic_types/zel_string.h"

class IZelUnknown;
class IZelFeatureSubObject;
class IZelVectorInput;

struct CommandNeeds {
  // A current hard-probe plug-in; when it is the emulator, a reference model for it to probe.
  bool hardProbe = false;
  // The CAD model named "RefObject" as the document's active object.
  bool activeReference = false;
  // An active object holding at least one probed feature.
  bool probedFeatures = false;
};

// True when every need holds; otherwise false after telling the operator, through the error service, the
// first need missing (in the order of CommandNeeds), named with the command's display name.
bool commandReady(const ZelString& commandName, const CommandNeeds& needs);

// Whether the context bars probing with the emulator: it is the current plug-in and the context holds
// "Result". False for any other plug-in or none (commandReady tells of a missing one).
bool resultBarsEmulator(IZelUnknown* context);

// Whether the pick input of a command that picks on the reference model can pick on it for the host's current
// phase; true while the document holds no reference model, which commandReady tells the operator of.
bool referencePickable(IZelVectorInput* input);

// Whether the feature was probed: it carries the record of its probed points.
bool isProbedFeature(IZelFeatureSubObject* subObject);
