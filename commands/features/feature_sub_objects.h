#pragma once

// The feature sub-objects of a document object, as picking walks them. Main thread only.

#include <vector>

#include "basic_types/bit_vector.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_sub_objects.h"

// In the order the object's sub-object manager holds them, without references: the document keeps them.
using FeatureSubObjects = std::vector<IZelFeatureSubObject*>;

// Empty for a null object or one without features.
FeatureSubObjects featureSubObjectsOf(IZelDocObject* object);

// Those at the positions whose bit is set, in order.
FeatureSubObjects selectedOf(const FeatureSubObjects& subObjects, const BitVector& bits);
