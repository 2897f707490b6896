#pragma once

// The stand-in host's datum pair ("IZelAlignmentPair"): a fixed and a floating feature sub-object.

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/datum_align_modifier.h"
#include "host_api/zel_sub_objects.h"

class HostAlignmentPair : public IZelAlignmentPair, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostAlignmentPair";

  void set(IZelSubObject* fixed, IZelSubObject* floating) override;
  IZelSubObject* fixedSubObject() override { return fixed_.get(); }
  IZelSubObject* floatingSubObject() override { return floating_.get(); }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  IPtr<IZelSubObject> fixed_;
  IPtr<IZelSubObject> floating_;
};
