#pragma once

// The stand-in host's values that hold one plain value ("IZelDoubleValue", "IZelIntValue", "IZelIDValue",
// "IZelVectorValue"): read back as set, and as 0, the null id or the origin before any set.

#include <type_traits>

#include "host/document/parameters/host_parameter.h"

template <class Derived, class Interface, class T>
class HostSingleValue : public HostParameter<Derived, Interface> {
 public:
  using Argument = std::conditional_t<std::is_scalar_v<T>, T, const T&>;

  void setValue(Argument value) override { value_ = value; }
  T value() override { return value_; }

  bool copyValueInto(Derived& copy) const {
    copy.value_ = value_;
    return true;
  }

 private:
  T value_{};
};

class HostDoubleValue final : public HostSingleValue<HostDoubleValue, IZelDoubleValue, double> {
 public:
  static constexpr const char* interfaceName = "HostDoubleValue";
};

class HostIntValue final : public HostSingleValue<HostIntValue, IZelIntValue, int32_t> {
 public:
  static constexpr const char* interfaceName = "HostIntValue";
};

class HostIDValue final : public HostSingleValue<HostIDValue, IZelIDValue, ZelID> {
 public:
  static constexpr const char* interfaceName = "HostIDValue";
};

class HostVectorValue final : public HostSingleValue<HostVectorValue, IZelVectorValue, Vector3> {
 public:
  static constexpr const char* interfaceName = "HostVectorValue";
};
