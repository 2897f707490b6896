#pragma once

// Whether a command that probes with the hard probe may start: the hard-probe manager has a current plug-in,
// and when that is the emulator, it has its reference object to probe and the context does not hold "Result".
// The context's busy states are the caller's to test first. Main thread only.

class IZelUnknown;

bool hardProbeReady(IZelUnknown* context);
