#pragma once

// The stand-in host's document (the service "IZelDoc"): its objects in the order they were added, their
// active and current object, and their graphics (the service "IGfxDoc"). The document holds a reference on
// each object while it is in it; the raw objects it hands out stay valid while they are. Safe on any thread.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/host_doc_object.h"
#include "host/document/host_scene_transform.h"
#include "host_api/zel_doc.h"

class HostDocument : public IZelDoc, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDocument";

  // The first object of that name.
  IZelDocObject* findObject(const ZelString& name) override;
  int32_t objectCount() override;
  // Null outside 0..objectCount()-1.
  IZelDocObject* objectAt(int32_t index) override;
  IZelDocObject* objectById(int32_t id) override;
  int32_t objectId(IZelDocObject* object) override;
  IZelDocObject* activeObject() override;
  IZelDocObject* currentObject() override;
  bool setActiveObject(IZelDocObject* object) override;
  bool setCurrentObject(IZelDocObject* object) override;
  bool addCurrentObject(IZelDocObject* object) override;
  bool isCurrentObject(IZelDocObject* object) override;
  // Named "Group", or its first free suffix with unique.
  IZelDocObject* createGroup(bool unique) override;
  bool registerObject(IZelDocObject* object, const ZelString& name) override;
  IZelDocObject* objectOfKind(int32_t kind, int32_t phase, int32_t index) override;

  // The kind of a type's objects (see IPhaseService).
  static int32_t kindOf(const std::string& type);
  // The phase objects added from now on go into.
  int32_t currentPhase() const { return currentPhase_; }
  void setCurrentPhase(int32_t phase) { currentPhase_ = phase; }

  // Host side. Adds an object made from description, numbered 1, 2, ... in the order of addition. With
  // uniqueName, a name already in use gets the first free suffix " 2", " 3", ...; without it, names may
  // repeat.
  IPtr<HostDocObject> add(DocObjectDescription description, bool uniqueName);
  // False when the object is not in the document.
  bool remove(IZelDocObject* object);
  std::vector<IPtr<HostDocObject>> objects();
  // The current objects, in the order chosen.
  std::vector<IZelDocObject*> currentObjects();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool nameInUseLocked(const std::u16string& name) const;
  std::u16string freeNameLocked(const std::u16string& name) const;
  HostDocObject* heldLocked(IZelDocObject* object) const;
  bool chooseLocked(HostDocObject*& chosen, IZelDocObject* object);

  std::mutex mutex_;
  std::vector<IPtr<HostDocObject>> objects_;             // guarded by mutex_
  int32_t lastId_ = 0;                                   // guarded by mutex_
  HostDocObject* active_ = nullptr;                      // guarded by mutex_, one of objects_ or null
  std::vector<HostDocObject*> current_;                  // guarded by mutex_, each one of objects_
  std::map<std::u16string, HostDocObject*> registered_;  // guarded by mutex_, each one of objects_
  std::atomic<int32_t> currentPhase_{1};
};

// The graphics of the document's objects: each object made by the stand-in host carries its own.
class HostGfxDoc : public IGfxDoc, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGfxDoc";

  // Null for an object the stand-in host did not make.
  IGfxObject* graphicsOf(IZelDocObject* object) override;
  // Null for an object the stand-in host did not make.
  IZelGroupNode* objectNode(IZelDocObject* object) override;
  // The node follows its object: its transform is the object's.
  bool objectNodeTransform(IZelDocObject* object, double matrix[16]) override;
  IZelGroupNode* sceneRoot() override { return root_.get(); }
  IZelMatrixSource* sceneTransform() override { return sceneTransform_.get(); }
  void fitView(IZelDocObject* object, int32_t flags, bool option) override;

  // Host side. Each fit of the view as asked (main thread only, as the scene is), with the names of the
  // nodes it took in: a fit leaves out every hidden node and all below it.
  struct Fit {
    IZelDocObject* object;
    int32_t flags;
    bool option;
    std::vector<std::string> taken;
  };
  HostGroupNode& root() { return *root_; }
  HostSceneTransform& hostSceneTransform() { return *sceneTransform_; }
  const std::vector<Fit>& fits() const { return fits_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  HostGfxObject* hostGraphicsOf(IZelDocObject* object);

  const IPtr<HostGroupNode> root_{new HostGroupNode("scene root")};
  const IPtr<HostSceneTransform> sceneTransform_{new HostSceneTransform};
  std::vector<Fit> fits_;
};
