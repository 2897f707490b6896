#pragma once

// The host document: named objects (the reference model "RefObject", the CAD model, features, point objects)
// and their graphics.

#include <cstdint>

#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelGroupNode;
class IZelMatrixSource;

class IZelDocObject : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDocObject";

  virtual ZelString objectName() = 0;
  // The object's type, such as "Point".
  virtual const char* objectType() = 0;
  // The object's 4x4 transform (16 doubles, row-major); false when it has none.
  virtual bool transform(double matrix[16]) = 0;
  // The object attached to it under an attachment id, without a reference for the caller, or null. Every
  // object carries its feature sub-object manager (see zel_sub_objects.h) this way.
  virtual IZelUnknown* attachedObject(const ZelID& attachmentId) = 0;
  // Whether the object is of that type ("CAD", "Point"); types are compared exactly.
  virtual bool isType(const char* type) = 0;
  // A part of the object by name, such as the surface model "SurfModel" of a CAD object: the object as long
  // as its document object lives, without a reference for the caller, or null.
  virtual IZelUnknown* subObject(const char* name) = 0;

  // Renames the object; names need not be unique, and the document finds it by its new name from now on.
  virtual void setObjectName(const ZelString& name) = 0;
  // Moves the object: its transform becomes matrix (16 doubles, row-major). False, changing nothing, for a
  // null matrix or one with a value that is not finite.
  virtual bool setTransform(const double matrix[16]) = 0;
  // The object's switches by name: "Visible" (on for a new object). False for a name the host does not know.
  virtual bool property(const char* name) = 0;
  // False, changing nothing, for a name the host does not know.
  virtual bool setProperty(const char* name, bool on) = 0;
  // Puts the object into a group object of its document (IZelDoc::createGroup); null takes it out of its
  // group. False, changing nothing, for a group that is not one of the document's.
  virtual bool setGroup(IZelDocObject* group) = 0;
  // The object's integer attribute (how the host draws it); 0 unless its builder gave it one.
  virtual int32_t attribute() = 0;
};

// The document's objects are listed from 0 (objectAt(0) to objectAt(objectCount() - 1)); each also has an id,
// from 1 in the order the document got them, that it keeps until it is removed and that no later object
// takes. The active object is the one the user works on (a command's target); the current object is the one
// the user has chosen in the document's tree. Either may be none, and either becomes none when its object is
// removed.
class IZelDoc : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelDoc";

  // The object of that name, without a reference for the caller, or null.
  virtual IZelDocObject* findObject(const ZelString& name) = 0;
  virtual int32_t objectCount() = 0;
  // Null outside 0 to objectCount() - 1.
  virtual IZelDocObject* objectAt(int32_t index) = 0;
  // Null for an id no object of the document has.
  virtual IZelDocObject* objectById(int32_t id) = 0;
  // The object's id; 0 for an object not in the document.
  virtual int32_t objectId(IZelDocObject* object) = 0;
  // Without a reference for the caller, or null.
  virtual IZelDocObject* activeObject() = 0;
  virtual IZelDocObject* currentObject() = 0;
  // False, changing nothing, for an object not in the document; null makes none active (current).
  virtual bool setActiveObject(IZelDocObject* object) = 0;
  virtual bool setCurrentObject(IZelDocObject* object) = 0;
  // Adds the object to the current objects (the user may choose several; currentObject answers the first).
  // False, changing nothing, for an object not in the document or null.
  virtual bool addCurrentObject(IZelDocObject* object) = 0;
  // Whether the object is one of the current objects; false for null or an object not in the document.
  virtual bool isCurrentObject(IZelDocObject* object) = 0;
  // A new, empty group object (type "Group") in the document, without a reference for the caller, or null;
  // unique gives it a name no other object has.
  virtual IZelDocObject* createGroup(bool unique) = 0;
  // Registers the object under a name that findObject answers before the objects' own names, until the
  // object is removed or another is registered under the name; false, changing nothing, for an object not in
  // the document.
  virtual bool registerObject(IZelDocObject* object, const ZelString& name) = 0;
  // The objects of a kind (IPhaseService), in document order from index 0, of one phase or of any
  // (kAnyPhase); null past the last.
  static constexpr int32_t kAnyPhase = -1;
  virtual IZelDocObject* objectOfKind(int32_t kind, int32_t phase, int32_t index) = 0;
};

// How an object is drawn: its display mode (1 shows it as the module's commands need the reference object).
class IGfxObject : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxObject";

  virtual int32_t displayMode() = 0;
  virtual void setDisplayMode(int32_t mode) = 0;
};

class IGfxDoc : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGfxDoc";

  // The graphics of a document object, without a reference for the caller, or null.
  virtual IGfxObject* graphicsOf(IZelDocObject* object) = 0;
  // The scene node that holds a document object's graphics, without a reference for the caller, or null.
  virtual IZelGroupNode* objectNode(IZelDocObject* object) = 0;
  // The transform of the scene node that holds a document object's graphics (16 doubles, row-major), which
  // places the object's own coordinates in the scene. False, with matrix untouched, for an object without
  // graphics.
  virtual bool objectNodeTransform(IZelDocObject* object, double matrix[16]) = 0;
  // The root of the document's scene, without a reference for the caller; it lives as long as the document.
  virtual IZelGroupNode* sceneRoot() = 0;
  // The document's scene matrix, given by the source's getMatrix; without a reference for the caller, it
  // lives as long as the document.
  virtual IZelMatrixSource* sceneTransform() = 0;
  // Fits the view around object (null: the whole scene), leaving hidden nodes out; flags and option are the
  // host's own choices of how to fit.
  virtual void fitView(IZelDocObject* object, int32_t flags, bool option) = 0;
};

// Builds one document object at a time: begin, add its data, end.
class IZelObjectBuilder : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectBuilder";

  virtual bool beginObject(const char* type, const ZelString& name, bool unique) = 0;
  virtual bool addData(IZelUnknown* data) = 0;
  // The new object (the caller holds a reference on it), or null when nothing was begun or the host could
  // not make it; undoable records it in the host's undo history.
  virtual IZelDocObject* endObject(bool undoable) = 0;
  // The object begun takes the integer attribute (IZelDocObject::attribute). False with nothing begun.
  virtual bool setAttribute(int32_t attribute) = 0;
  // Records an object the one begun was made from (a merged object's parts); keep leaves it out of the undo
  // history's removals. False with nothing begun or null.
  virtual bool addSourceObject(IZelDocObject* source, bool keep) = 0;
};

class IZelObjectRemover : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelObjectRemover";
  virtual bool removeObject(IZelDocObject* object, int32_t flags, bool undoable) = 0;
  // Ends a run of removals: the host brings its views and its tree up to date once.
  virtual void finishRemoval() = 0;
};
