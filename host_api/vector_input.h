#pragma once

// Entering one point: by picking it on a document object's surface in the view ("IZelVectorInput", with the
// surface normal of the pick as "ITripletInputNormal"), or by typing its coordinates into a command's dialog
// ("IZelVectorWidget"). A new object per request. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IGfxMouseData;
class IGuiDialog;
class IPhaseService;
class IZelDocObject;

class IZelVectorInput : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelVectorInput";

  // Whether points can be picked on the object in the document's current phase: it has a surface to pick.
  virtual bool accept(IPhaseService* phases, IZelDocObject* object) = 0;
  // Picks are taken only between activate and stop.
  virtual bool activate() = 0;
  virtual void stop() = 0;
  // The pointer went down or moved in the view: what the host shows while the user aims.
  virtual void pointerPressed() = 0;
  virtual void pointerMoved() = 0;
  // The point of the object's surface under the pointer's ray, in the object's own coordinates. False when
  // inactive or when the ray misses the object.
  virtual bool pick(IGfxMouseData* mouse, IZelDocObject* object, Vector3& point) = 0;
};

class ITripletInputNormal : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ITripletInputNormal";

  // The outward unit normal of the surface at the last pick, in the picked object's own coordinates; false
  // when the last pick missed.
  virtual bool normal(Vector3& out) = 0;
};

class IZelVectorWidget : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelVectorWidget";

  // A text field of the three coordinates under the dialog's id and name, with a label. The command hears
  // the user's typing as onGuiValueByReference(id, text).
  virtual bool build(IGuiDialog* dialog, int32_t id, const char* name, const ZelString& label) = 0;
  virtual void activate() = 0;
  virtual void deactivate() = 0;
  // Whether the field takes input.
  virtual void setEditable(bool editable) = 0;
  // Shows the point, in the user's length unit.
  virtual void setVector(const Vector3& point) = 0;
  // Takes what the user typed (three numbers in the user's length unit, separated by commas or blanks);
  // false, keeping the point, for any other text.
  virtual bool takeText(const ZelString& typed) = 0;
  // The point the field holds, in metres.
  virtual Vector3 vector() = 0;
};
