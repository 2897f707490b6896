#pragma once

// Rebuilds a probed feature from its probing record: the creator named by "<ZelID>" is made by class id,
// given the recorded "<Parameters>" and asked for the feature again. A composite is rebuilt bottom-up: every
// child in "<ChildFeatures>" first, its new feature stored back in the parent's table, then the parent from
// the refitted children. The record's tables are changed in place, so refit a copy of a document feature.

#include "framework/object/iptr.h"
#include "host_api/zel_feature.h"

// The refitted feature, or null (changing nothing the caller keeps) when the feature has no record, a record
// in the tree names no creator or one that cannot be made, or a creator makes no feature.
IPtr<IZelFeature> refitFeature(IZelFeature* feature);
