#pragma once

// One object of the stand-in host's document and its graphics. Its id, type, data and named parts are fixed
// when it is made; its name, transform and visibility may change, and objects may be attached to it under
// attachment ids, its feature sub-object manager from the start. Safe on any thread.

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "basic_types/zel_id.h"
#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/host_feature_sub_object_mgr.h"
#include "host/scene/host_scene_nodes.h"
#include "host_api/zel_cad.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_object_extras.h"

// How an object is drawn; a new object is in display mode 0.
class HostGfxObject : public IGfxObject, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGfxObject";

  int32_t displayMode() override { return displayMode_; }
  void setDisplayMode(int32_t mode) override { displayMode_ = mode; }
  // The scene node that holds what is drawn for the object.
  HostGroupNode& node() { return *node_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<int32_t> displayMode_{0};
  const IPtr<HostGroupNode> node_{new HostGroupNode("object")};
};

// What a document object is made of.
struct DocObjectDescription {
  using Transform = std::array<double, 16>;  // row-major 4x4

  std::string type;
  std::u16string name;
  std::optional<Transform> transform;
  std::vector<IPtr<IZelUnknown>> data;                                // what the builder was given, in order
  std::vector<std::pair<std::string, IPtr<IZelUnknown>>> subObjects;  // by name, such as a CAD "SurfModel"
};

class HostDocObject : public IZelDocObject,
                      public IZelObjectModelId,
                      public IZelStringValue,
                      public IZelObjectState,
                      public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostDocObject";
  // The type of the document's group objects (IZelDoc::createGroup).
  static constexpr const char* kGroupType = "Group";

  // id is the object's number in its document.
  HostDocObject(int32_t id, DocObjectDescription description);

  ZelString objectName() override;
  const char* objectType() override { return description_.type.c_str(); }
  bool transform(double matrix[16]) override;
  IZelUnknown* attachedObject(const ZelID& attachmentId) override;
  bool isType(const char* type) override;
  IZelUnknown* subObject(const char* name) override;
  void setObjectName(const ZelString& name) override;
  bool setTransform(const double matrix[16]) override;
  bool property(const char* name) override;
  bool setProperty(const char* name, bool on) override;
  // False for a group the stand-in host did not make as one (IZelDocObject of type "Group").
  bool setGroup(IZelDocObject* group) override;
  int32_t attribute() override { return attribute_; }
  // Its number in the document.
  int32_t modelId() override { return id_; }
  void setStringValue(const char* key, const ZelString& value) override;
  ZelString stringValue(const char* key) override;
  // The last state given; empty before one.
  void setState(const char* state) override;
  std::string state();

  // Host side. Holds a reference on object under the id (replacing any before; null detaches).
  void attach(const ZelID& attachmentId, IZelUnknown* object);
  int32_t id() const { return id_; }
  // The phase it belongs to (IPhaseService).
  int32_t phase() const { return phase_; }
  void setPhase(int32_t phase) { phase_ = phase; }
  // The id of its group object; 0 outside every group.
  int32_t groupId() const { return groupId_; }
  void setGroupId(int32_t id) { groupId_ = id; }
  // What its builder was told beyond its description: its attribute and the ids of the objects it was made
  // from, in the order given.
  void setOrigin(int32_t attribute, std::vector<int32_t> sourceIds);
  std::vector<int32_t> sourceIds();
  const std::string& type() const { return description_.type; }
  std::u16string name();
  HostGfxObject& graphics() { return *graphics_; }
  HostFeatureSubObjectMgr& featureSubObjects() { return *featureSubObjects_; }
  // The first of the object's data that answers to T, without a reference, or null.
  template <class T>
  T* dataAs() const {
    for (const IPtr<IZelUnknown>& item : description_.data) {
      void* part = nullptr;
      item->queryInterface(T::interfaceName, &part, false);
      if (part) return static_cast<T*>(part);
    }
    return nullptr;
  }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const int32_t id_;
  // Its name and transform change under mutex_; the rest is fixed.
  DocObjectDescription description_;
  const IPtr<HostGfxObject> graphics_;
  const IPtr<HostFeatureSubObjectMgr> featureSubObjects_;
  std::atomic<bool> visible_{true};
  std::atomic<int32_t> phase_{1};
  std::atomic<int32_t> groupId_{0};
  std::atomic<int32_t> attribute_{0};
  std::vector<int32_t> sourceIds_;  // guarded by mutex_
  std::mutex mutex_;
  std::vector<std::pair<ZelID, IPtr<IZelUnknown>>> attachments_;  // guarded by mutex_
  std::map<std::string, std::u16string> stringValues_;            // guarded by mutex_
  std::string state_;                                             // guarded by mutex_
};
