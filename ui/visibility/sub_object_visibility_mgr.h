#pragma once

// The creatable sub-object visibility manager (a new one per request): commands and picking strategies make
// it by class id. It forwards every operation to the one SubObjectVisibilityMgrImpl it owns.

#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "ui/visibility/zel_sub_object_visibility_mgr.h"

class SubObjectVisibilityMgr : public IZelSubObjectVisibilityMgr, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "SubObjectVisibilityMgr";

  SubObjectVisibilityMgr();

  void change(IZelSubObject* subObject, bool visible) override { impl_->change(subObject, visible); }
  void apply() override { impl_->apply(); }
  void restore() override { impl_->restore(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelSubObjectVisibilityMgr> impl_;
};
