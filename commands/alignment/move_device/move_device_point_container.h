#pragma once

// One point list of the move-device wizard: at most eight entries, each a position (metres, as the device
// reports it), a kind (7 single point, 9 sphere centre, 11 circle centre) and a name. A list filled through
// add shows its entries in the document as one point object named by its prefix ("Ref" or "Tar"), one named
// feature sub-object per entry, and writes them to the data store (move_device_keys.h), so that a run can be
// resumed and the targets of one move become the references of the next.
//
// The store always holds the live list: add, remove and swap write all eight slots, so a run left without its
// Exit (a cancelled command, a host that ended) resumes from what the user saw, never from slots an older
// list left behind.
// A list restored by load holds positions, kinds and names, but no document object and no sub-objects; the
// wizard only reads, copies and saves such a list and rebuilds its live lists from it with add.
//
// A copy takes the plug-in name and the entries but never the document object: the copy removes nothing from
// the document. Indexes out of range change nothing and read as the neutral values below. Main thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_sub_objects.h"

struct Matrix4x4;

class MoveDevicePointContainer {
 public:
  static constexpr int32_t kCapacity = 8;

  MoveDevicePointContainer();
  MoveDevicePointContainer(const MoveDevicePointContainer& other);
  MoveDevicePointContainer& operator=(const MoveDevicePointContainer&) = delete;
  // Removes the document object from the document.
  virtual ~MoveDevicePointContainer();

  // The list's key prefix and the name of its document object.
  virtual const char* prefix() const = 0;

  void setPluginName(const ZelString& name) { pluginName_ = name; }
  const ZelString& pluginName() const { return pluginName_; }

  // Appends an entry, shows it and saves the list; name receives the final name, which with numbered is
  // tr("%1 %2", name, the entry's 1-based position). A ninth entry is dropped: nothing changes.
  void add(const Vector3& position, uint32_t kind, ZelString& name, bool numbered);
  void remove(int32_t index);
  void swap(int32_t first, int32_t second);
  // Empties the list and removes its document object from the document.
  void clear();
  // Removes the document object from the document but keeps the entries (without their sub-objects).
  void removeDocumentObject();
  void transformAll(const Matrix4x4& matrix);

  // Writes slot index, or all eight slots when index is negative; a slot beyond the list gets an empty name.
  void save(int32_t index) const;
  // Replaces the entries by the saved ones, in slot order, skipping slots without a name.
  void load();

  int32_t count() const { return static_cast<int32_t>(positions_.size()); }
  // Leaves the outputs as they are for an index out of range.
  void get(int32_t index, Vector3& position, uint32_t& kind, ZelString& name) const;
  Vector3 position(int32_t index) const;  // the origin out of range
  uint32_t type(int32_t index) const;     // 0 out of range
  const ZelString& name(int32_t index) const;
  // The entry's sub-object, without a reference for the caller; null out of range or when it has none.
  IZelSubObject* subObject(int32_t index) const;
  IZelDocObject* documentObject() const { return object_.get(); }

 private:
  bool inRange(int32_t index) const { return index >= 0 && index < count(); }
  void append(const Vector3& position, uint32_t kind, const ZelString& name, IPtr<IZelSubObject> subObject);
  // A named sub-object of the document object showing a point at position; empty when the host makes none.
  IPtr<IZelSubObject> showEntry(const Vector3& position, const ZelString& name);

  IPtr<IZelDocObject> object_;
  ZelString pluginName_;
  std::vector<Vector3> positions_;
  std::vector<uint32_t> kinds_;
  std::vector<ZelString> names_;
  std::vector<IPtr<IZelSubObject>> subObjects_;
};

class MoveDeviceReferencePointContainer final : public MoveDevicePointContainer {
 public:
  const char* prefix() const override { return "Ref"; }
};

class MoveDeviceTargetPointContainer final : public MoveDevicePointContainer {
 public:
  const char* prefix() const override { return "Tar"; }
};
