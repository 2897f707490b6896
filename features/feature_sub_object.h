#pragma once

// Adding a probed feature to the object that receives the probed features, as a sub-object of its own: named
// after the reference feature it matches (when matching is on and one does), else "<type name> <n>" with the
// object's running number for the feature's type, and showing its probed points. Main thread only.

#include "features/collectors/zel_feature_collector.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_sub_objects.h"

// The new sub-object, added to the target object; empty, adding nothing, when the feature or the collector is
// missing, the host does not know the feature's type, or the target object cannot take features.
IPtr<IZelSubObject> addFeatureSubObject(IZelDocObject* target, IZelFeature* feature,
                                        IZelFeatureCollector* collector);
