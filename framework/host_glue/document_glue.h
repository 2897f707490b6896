#pragma once

// Small pieces of document handling that commands of several subsystems share.

#include <cstdint>
#include <vector>

#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_sub_objects.h"

// Removes the object from the document; nothing happens without the host's remover.
void removeObjectFromDocument(IZelDocObject* object);

// Gives the document objects as its current ones, the first through the set operation (it becomes the only
// one) and each further one, in order, through the add operation. Nothing when objects is empty.
void makeCurrentObjects(const std::vector<IPtr<IZelDocObject>>& objects);

// A new group object named name in the document's current phase, without a reference for the caller (the
// document holds it), or null without a document. unique gives it a name no other object has; an empty name
// leaves the naming to the caller.
IZelDocObject* createGroupInCurrentPhase(const ZelString& name, bool unique = false);

// The sub-object manager of a feature (its faces, edges and points), or null.
IZelFeatureSubObjectMgr* getFeatureSubObjectMgr(IZelDocObject* object);

// The reference object's graphics and the display mode it had, when showReferenceObject changed it.
struct ShownReference {
  IPtr<IGfxObject> graphics;  // empty when nothing was changed: the caller then restores nothing
  int32_t previousMode = 0;
};
// Shows "RefObject" in display mode 1, so a command can probe against it; the caller restores the previous
// mode through the returned graphics when it ends.
ShownReference showReferenceObject();
