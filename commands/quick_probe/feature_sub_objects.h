#pragma once

// The feature sub-objects Quick Probe reads and adds on the reference and target objects: their visibility
// and their names. An object never holds two features of one name, so a name Quick Probe makes up is counted
// on past every name a caller says is taken.

#include <functional>

#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "framework/object/query_part.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_sub_objects.h"

bool isHidden(IZelSubObject& subObject);
// Nothing for no sub-object.
void setVisible(IZelSubObject* subObject, bool visible);

template <class Visit>
void forEachFeatureSubObject(IZelDocObject* object, Visit&& visit) {
  auto* subObjects = queryPart<IZelSubObjectMgr>(getFeatureSubObjectMgr(object));
  for (int32_t i = 0; subObjects && i < subObjects->subObjectCount(); ++i) {
    if (auto* feature = queryPart<IZelFeatureSubObject>(subObjects->subObjectAt(i))) visit(*feature);
  }
}

// Whether a feature sub-object of the object (none: false) has the name.
bool holdsName(IZelDocObject* object, const ZelString& name);

using NameTaken = std::function<bool(const ZelString&)>;

// "<type name> <n>" of the feature's type, counted on in the manager past every name taken; empty when the
// type is unknown.
ZelString untakenName(IZelFeatureSubObjectMgr& manager, IZelFeature& feature, const NameTaken& taken);

// The sub-object of a feature added to the object, named (an empty name: untakenName) and shown or hidden;
// empty when the host cannot add it.
IPtr<IZelSubObject> addFeatureSubObject(IZelDocObject* object, IZelFeature* feature, const ZelString& name,
                                        bool visible, const NameTaken& taken);
