#pragma once

// The host's point values and arrays, from which point objects are made.

#include <cstdint>

#include "host/api/zel_unknown.h"

// A growable array of points of the host's own (dimension values per point).
class RealPArray : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "RealPArray";

  virtual int32_t dimension() = 0;
  virtual int32_t count() = 0;
  virtual void append(const double* values) = 0;
  virtual const double* at(int32_t index) = 0;
};

class IRealPArrayFactory : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IRealPArrayFactory";
  // An empty array; the caller holds a reference on it.
  virtual RealPArray* createArray(int32_t dimension, int32_t capacity) = 0;
};

// The points of a point object.
class IZelPoints : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPoints";

  virtual void setArray(RealPArray* points) = 0;
  virtual RealPArray* array() = 0;
};

// One point value.
class IZelPoint : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelPoint";

  virtual void setPosition(double x, double y, double z) = 0;
  virtual void position(double xyz[3]) = 0;
};
