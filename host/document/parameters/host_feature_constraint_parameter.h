#pragma once

// The stand-in host's fit constraints ("IZelFeatureConstraintParameter"): four plain fields, read back as
// set.

#include "host/document/parameters/host_parameter.h"

class HostFeatureConstraintParameter final
    : public HostParameter<HostFeatureConstraintParameter, IZelFeatureConstraintParameter> {
 public:
  static constexpr const char* interfaceName = "HostFeatureConstraintParameter";

  void setConstraintType(int32_t type) override { fields_.type = type; }
  void setConstrainedElement(int32_t element) override { fields_.element = element; }
  void setReferenceKind(int32_t kind) override { fields_.referenceKind = kind; }
  void setDirection(const Vector3& direction) override { fields_.direction = direction; }
  int32_t constraintType() override { return fields_.type; }
  int32_t constrainedElement() override { return fields_.element; }
  int32_t referenceKind() override { return fields_.referenceKind; }
  Vector3 direction() override { return fields_.direction; }

  bool copyValueInto(HostFeatureConstraintParameter& copy) const {
    copy.fields_ = fields_;
    return true;
  }

 private:
  struct Fields {
    int32_t type = 0;
    int32_t element = 0;
    int32_t referenceKind = 0;
    Vector3 direction;
  };
  Fields fields_;
};
