#pragma once

// The move-device wizard's best fit: reference i pairs with target i, each through its list's sub-object, and
// the host's datum-based aligner fits the targets' object (floating) onto the references' object (fixed).
// The result composes the graphics service's transform of the floating object G, the aligner's motion R and
// the inverse of the floating object's scene-node transform M0 taken before the run: G x (R x inverse(M0)),
// row-major, applied to points as column vectors. It must be a proper rigid motion (isProperRigid), as every
// hardware matrix must.
//
// The targets' object is put back at the identity before every fit, so that a refit (after "Delete Pair", or
// on a resumed run) is a fresh fit of the pairs left and never the new motion conjugated by the previous one.
//
// Both lists must have their document object, and every reference its target: a missing sub-object, pair or
// service, a run the aligner refuses (fewer than three pairs that are not on one line) and a failed check
// answer false, with deviations saying why ("The best fit failed: ..."). result is left as the caller set it
// when the fit fails before the product is formed, and holds the rejected product when a check fails. After
// a successful fit deviations holds the aligner's report when it has a text. Main thread.

#include "basic_types/matrix4x4.h"
#include "basic_types/zel_string.h"
#include "commands/alignment/move_device/move_device_point_container.h"

bool fitTargetsOntoReferences(const MoveDevicePointContainer& references,
                              const MoveDevicePointContainer& targets, Matrix4x4& result,
                              ZelString& deviations);

// The first pair whose target, moved by result, lies further than tolerance from its reference; -1 when all
// lie within it.
int32_t firstPairBeyond(const MoveDevicePointContainer& references, const MoveDevicePointContainer& targets,
                        const Matrix4x4& result, double tolerance);

// Whether some reference lies at least spread off the line through the others, so that a fit can tell the
// turn about that line.
bool spanAPlane(const MoveDevicePointContainer& references, double spread);
