#pragma once

// The sub-objects of a document object: the features, faces, edges and points it shows as parts of itself.
// Every document object carries a feature sub-object manager, attached to it under a fixed attachment id.
// The one manager object answers two interfaces: "IZelFeatureSubObjectMgr" makes sub-objects for features,
// "IZelSubObjectMgr" holds the object's sub-objects. A sub-object is made first, then named and added; it
// shows in the object from its addition to its removal.

#include <cstdint>

#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_unknown.h"

class IZelSubObjectMgr;

class IZelSubObject : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelSubObject";

  virtual ZelString name() = 0;
  virtual void setName(const ZelString& name) = 0;
  // Display flags are bits, all clear on a new sub-object: displayFlag answers whether every bit of flag is
  // set, setDisplayFlag sets or clears every bit of flag.
  // The display flag of a sub-object the view leaves out; clear, so a new sub-object shows.
  static constexpr uint32_t kHiddenDisplayFlag = 0x1;
  virtual bool displayFlag(uint32_t flag) = 0;
  virtual void setDisplayFlag(uint32_t flag, bool on) = 0;
  // The id of the document object the sub-object belongs to, which graphics services take to name the object.
  virtual int32_t objectId() = 0;
  // The manager holding the sub-object, without a reference for the caller: valid while the sub-object is in
  // it; null before it is added and once it is removed.
  virtual IZelSubObjectMgr* ownerManager() = 0;
};

// A sub-object that shows a feature. A new feature shows at the next refresh. It also answers
// "IZelProbeArraySource" (host_api/probe_array_source.h) for the probed points shown beside the feature.
class IZelFeatureSubObject : public virtual IZelSubObject {
 public:
  static constexpr const char* interfaceName = "IZelFeatureSubObject";

  // The feature, without a reference for the caller.
  virtual IZelFeature* feature() = 0;
  // Holds a reference on the feature; false, changing nothing, for null.
  virtual bool setFeature(IZelFeature* feature) = 0;
  // Shows the sub-object's current feature.
  virtual void refresh() = 0;
};

class IZelSubObjectMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelSubObjectMgr";

  // Adds the sub-object last, holding a reference on it. False, changing nothing, for null, for a sub-object
  // already added and for one another manager made.
  virtual bool addSubObject(IZelSubObject* subObject) = 0;
  // Takes the sub-object out and lets go of it; false when it is not in the manager.
  virtual bool removeSubObject(IZelSubObject* subObject) = 0;
  // The sub-objects in the order they were added: index 0 is the first.
  virtual int32_t subObjectCount() = 0;
  // Without a reference for the caller; null outside 0..subObjectCount()-1.
  virtual IZelSubObject* subObjectAt(int32_t index) = 0;
  // Shows one of its sub-objects highlighted, in place of any other; false, changing nothing, for one it
  // does not hold. Removing the highlighted sub-object removes the highlight.
  virtual bool highlight(IZelSubObject* subObject) = 0;
  virtual void clearHighlight() = 0;
  // Whether the user may pick the sub-objects in the view; a new manager's may be picked.
  virtual void setSelectable(bool selectable) = 0;
};

class IZelFeatureSubObjectMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureSubObjectMgr";

  // A new sub-object of the manager's object showing the feature, not yet added: the caller holds a reference
  // on it. Null for a null feature.
  virtual IZelFeatureSubObject* createSubObject(IZelFeature* feature) = 0;

  // Running numbers, one count per feature type (keyed by the type's class id) and per manager, that new
  // features are numbered by: update, then read the number, gives 1, 2, 3, ... Giving a number back lowers
  // the count, so the number last handed out serves again; a count never goes below 0. A type never updated
  // reads 0.
  virtual void updateRunningNumber(const ZelID& typeId) = 0;
  virtual int32_t runningNumber(const ZelID& typeId) = 0;
  virtual void giveBackRunningNumber(const ZelID& typeId) = 0;
};
