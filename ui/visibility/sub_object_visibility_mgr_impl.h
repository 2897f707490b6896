#pragma once

// The records and their handling behind SubObjectVisibilityMgr. Each record holds a reference on its
// sub-object, so a sub-object the command removed from its document in the meantime is still there to be
// restored (to no visible effect) rather than freed under the record.

#include <vector>

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

class SubObjectVisibilityMgrImpl : public IZelSubObjectVisibilityMgr, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "SubObjectVisibilityMgrImpl";

  void change(IZelSubObject* subObject, bool visible) override;
  void apply() override;
  void restore() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  struct Record {
    IPtr<IZelSubObject> subObject;
    bool wasVisible;
  };

  std::vector<Record> toShow_;
  std::vector<Record> toHide_;
};
