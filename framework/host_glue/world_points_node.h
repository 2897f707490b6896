#pragma once

// A separator for graphics of world points (where the devices report the probe and its touches) that hangs
// in a document object's scene node. The host draws an object's node in the object's own frame, placed in
// the world by the object's transform; the separator's first node takes that placement out again, asked for
// each time the host draws, so its contents stand where the devices put them however the object is placed,
// or moved while they are shown. Without the object's node the separator hangs at the scene root, which is
// the world. It leaves the scene with its holder. Main thread only.

#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_scene_node.h"

class WorldPointsNode {
 public:
  enum class Place { first, last };

  // Hangs the separator, called name, first or last among the node's children; nothing is hung without
  // the host's graphics document or node factory.
  WorldPointsNode(IZelDocObject* object, const char* name, Place place);
  WorldPointsNode(const WorldPointsNode&) = delete;
  WorldPointsNode& operator=(const WorldPointsNode&) = delete;
  ~WorldPointsNode();

  // The group to hang world-point graphics in, after the placement taken out; null when nothing was hung.
  IZelGroupNode* group() const { return group_.get(); }

 private:
  IPtr<IZelGroupNode> parent_;
  IPtr<IZelGroupNode> group_;
};
