#pragma once

// After a feature was probed, the view frames what the object receiving the probed features draws: it zooms
// out when part of it is out of sight, and zooms in when it fills less than about a sixteenth of the view.
// Framing settles: framing again what was just framed leaves the view as it is, so probing the same feature
// twice shows the same view. Main thread only.

#include "host_api/zel_doc.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

// Frames the target object in the current view. False without probe graphics (no probing view to frame);
// true otherwise, also when the host lacks a view service or the object draws nothing to frame.
bool computeSceneBoundingBox(IZelDocObject* target, IZelHardProbeProbeGfx* probeGraphics);
