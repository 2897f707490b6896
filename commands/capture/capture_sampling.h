#pragma once

// Uniform sampling of a finished capture pass: the host's sampler thins the pass's points in place to about
// one per spacing. Main thread only.

#include "host_api/points.h"

// Thins points to the spacing (metres), showing the host's busy indication meanwhile. False, changing
// nothing, without points, with a spacing not above 0 or without the host's sampler. A set of coincident
// points has no extent: its relative spacing is infinite, and the sampler keeps one point.
bool samplePoints(IZelPoints* points, double spacing);
