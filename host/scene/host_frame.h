#pragma once

// One frame of the stand-in view as the host draws it: it walks the scene from the document's root, leaves
// out hidden nodes and separators their visibility source keeps out of the current view, and has each static
// iterator node draw; an image-carrying point comes back with the picture at that moment. Main thread only.

#include <vector>

#include "basic_types/vector3.h"
#include "host/gui/png_image.h"
#include "host/scene/host_scene_nodes.h"

struct DrawnImage {
  Vector3 anchor;  // the picture's lower-left corner, in scene coordinates
  DecodedImage picture;
};

std::vector<DrawnImage> drawFrame(HostGroupNode& root);
