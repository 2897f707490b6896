#pragma once

// The host's views. The module reaches the view's callback registry by asking the view manager for
// "ICallbackObject" (see callback_object.h); the answer is the host's callback object, counted on its own, so
// a holder keeps it alive without keeping the view manager.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "host_api/zel_unknown.h"

class IZelDocObject;

// A view's drawing area, which the views answer for this name.
class IGfxView : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxView";

  // In pixels; 0 for a view that is not shown (a minimised window).
  virtual int32_t width() = 0;
  virtual int32_t height() = 0;
};

class IGfxViewMgr : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxViewMgr";

  // The view the user sees, without a reference for the caller; it answers "ISGfxScene" (gfx_scene.h).
  virtual IZelUnknown* currentView() = 0;
  // How the views are laid out in the window (0: a single view; the others are the host's multi-view
  // layouts).
  virtual int32_t layoutMode() = 0;
  // The view's place in the layout, from 0; -1 for an object that is not one of the views.
  virtual int32_t viewIndex(IZelUnknown* view) = 0;
};

// The host's graphics service: where document objects stand in the world.
class IGenGfxService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGenGfxService";

  // The transform from the object's own coordinates to the world (16 doubles, row-major, applied to column
  // vectors, translation in the last column); the identity for an object that has no transform of its own.
  // False, with matrix untouched, for a null object.
  virtual bool worldTransform(IZelDocObject* object, double matrix[16]) = 0;
  // The matrix that takes points of one of the host's coordinate spaces to another in the view of that index
  // (-1: the view the user sees). The spaces: 1 normalised view coordinates, -1 to 1 across the view; 4 scene
  // coordinates; 3 the camera's (the view's axes and centre, in scene lengths); 5 the coordinates of the
  // document object of that id (IZelDoc::objectId; a sub-object gives its owner's, IZelSubObject::objectId),
  // which the other spaces do not need and ignore. Either direction of any pair, the same space included.
  // False, with out untouched, for a space the host does not know, an object id no object has (when space 5
  // is asked) or an object transform that cannot be inverted.
  virtual bool spaceTransform(Matrix4x4& out, int32_t fromSpace, int32_t toSpace, int32_t objectId,
                              int32_t viewIndex) = 0;
  // The box {min x, y, z, max x, y, z} in the world of what is drawn for the object (its features and the
  // points of its "PointModel"). False, with box untouched, for a null object or one that draws nothing with
  // a box.
  virtual bool objectBox(IZelDocObject* object, double box[6]) = 0;
  // Zooms and pans the view of that index so that the window {min x, min y, max x, max y}, in its current
  // normalised view coordinates, fills it; the view keeps its proportions, so the window's longer side
  // (relative to the view) fills the view and the other has room to spare. False, changing nothing, for a
  // window without positive width and height or with a value that is not finite.
  virtual bool setViewWindow(int32_t viewIndex, const double window[4]) = 0;
  // Frames the boxes (objectBox) of the document's objects in the view of that index (-1: every view) so that
  // each of their points lies within -1 to 1 in normalised view coordinates, the view's proportions kept;
  // visibleOnly leaves out the objects that are not "Visible"; margin widens the frame by that percentage.
  // False, changing no view, when no object has a box or the margin is negative.
  virtual bool fitAll(int32_t viewIndex, bool visibleOnly, int32_t margin) = 0;
  // The object a measuring command works against (its reference model), or null for none. What the
  // graphics make of it is the host's.
  virtual void setTargetObject(IZelDocObject* object) = 0;
};
