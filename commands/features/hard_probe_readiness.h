#pragma once

// Whether a command that probes with the hard probe may start: the hard-probe manager has a current plug-in,
// and when that is the emulator, the context does not hold "Result". The context's busy states are the
// caller's to test first. Whether the plug-in has a model to probe is asked when the command activates, so
// that the operator is told what is missing rather than find the command refused without a word. Main
// thread only.

#include "basic_types/zel_string.h"

class IZelUnknown;

bool hardProbeReady(IZelUnknown* context);
// Whether the current hard-probe plug-in has something to probe: the emulator probes the document's
// reference model only, every other plug-in the part itself. False, after telling the operator
// (reportNoReferenceModel), when the emulator finds no reference model.
bool hardProbeHasModel(const ZelString& commandName);
// Tells the operator that the command of that name needs a reference model named "RefObject", loaded and
// active.
void reportNoReferenceModel(const ZelString& commandName);
