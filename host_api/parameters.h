#pragma once

// The host's value objects and parameter tables: what a creator's parameters, a feature's probing record and
// a fitter's settings are made of. Each kind is made fresh by its interface name through the root, so the
// caller holds the only reference. Lengths are metres. A value belongs to one thread at a time; nothing here
// locks.
//
// Lists are numbered from 1, as the module's own arrays are; an index outside 1..count reads nothing and
// changes nothing.

#include <cstdint>

#include "basic_types/bit_vector.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_id.h"
#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

// Any value a table or a fitter takes by name.
class IZelParameter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelParameter";

  // A new value of the same kind that shares nothing changeable with this one: a table's values and nested
  // tables are copied too. The caller holds a reference on it; null when some part cannot be copied.
  virtual IZelParameter* copy() = 0;
};

// A list of 3-D points.
class IZelVectorsValue : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelVectorsValue";

  // Replaces the list by points 1..count of points.
  virtual void setValue(const ZelCountedArray<Vector3>& points) = 0;
  // Replaces out's items by the list, at 1..count.
  virtual void value(ZelCountedArray<Vector3>& out) = 0;
  virtual int32_t count() = 0;
  // Copies point i into out; false, leaving out, outside 1..count.
  virtual bool vectorAt(int32_t i, Vector3& out) = 0;
  // Removes point i, moving the later ones down; false, changing nothing, outside 1..count.
  virtual bool removeVector(int32_t i) = 0;
};

// One 3-D point or direction; a value never set reads as the origin.
class IZelVectorValue : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelVectorValue";

  virtual void setValue(const Vector3& vector) = 0;
  virtual Vector3 value() = 0;
};

class IZelDoubleValue : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelDoubleValue";

  virtual void setValue(double value) = 0;
  virtual double value() = 0;
};

class IZelIntValue : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelIntValue";

  virtual void setValue(int32_t value) = 0;
  virtual int32_t value() = 0;
};

// A class id, such as the creator's in a probing record.
class IZelIDValue : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelIDValue";

  virtual void setValue(const ZelID& id) = 0;
  virtual ZelID value() = 0;
};

// A feature carried as a value: a work plane, a child of a composite feature. The caller queries the feature
// for the interface it needs.
class IZelEmbeddedFeatureParameter : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelEmbeddedFeatureParameter";

  // Holds a reference on the feature; null empties the value.
  virtual void setFeature(IZelUnknown* feature) = 0;
  // The feature without a reference for the caller, or null.
  virtual IZelUnknown* feature() = 0;
};

// What a constrained fit keeps fixed: a type, the element of the fitted feature it binds, the kind of
// reference and the reference direction. The setters come first, in the order callers set them. A
// constrained cylinder or cone sets {kParallel, kAxis, kDirection, the work plane's normal}: its axis stays
// parallel to that normal. Values never set read as 0 and the origin.
class IZelFeatureConstraintParameter : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelFeatureConstraintParameter";

  static constexpr int32_t kParallel = 2;   // constraint type: the element stays parallel to the reference
  static constexpr int32_t kAxis = 1;       // constrained element: the fitted feature's axis
  static constexpr int32_t kDirection = 1;  // reference kind: a direction vector

  virtual void setConstraintType(int32_t type) = 0;
  virtual void setConstrainedElement(int32_t element) = 0;
  virtual void setReferenceKind(int32_t kind) = 0;
  virtual void setDirection(const Vector3& direction) = 0;
  virtual int32_t constraintType() = 0;
  virtual int32_t constrainedElement() = 0;
  virtual int32_t referenceKind() = 0;
  virtual Vector3 direction() = 0;
};

// A list of bit vectors: point selections, bit i standing for point i.
class IZelBitVectorArray : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelBitVectorArray";

  // Appends a copy of bits as entry count + 1.
  virtual void append(const BitVector& bits) = 0;
  virtual int32_t count() = 0;
  // Entry i, valid while the array holds it; null outside 1..count.
  virtual const BitVector* bitVectorAt(int32_t i) = 0;
};

// Named values, kept in the order their names were first set. Names are wide text compared unit by unit.
class IZelParameterTable : public virtual IZelParameter {
 public:
  static constexpr const char* interfaceName = "IZelParameterTable";

  // The value of that name without a reference for the caller, or null when there is none.
  virtual IZelParameter* getParameter(const ZelString& name) = 0;
  // Holds a reference on value under name, replacing an earlier value of that name in its place. False,
  // changing nothing, for an empty name, a null value or a table that is or holds this one.
  virtual bool setParameter(const ZelString& name, IZelParameter* value) = 0;
  virtual int32_t count() = 0;
  // Entry i's name and value (no reference for the caller); an empty name and null outside 1..count.
  virtual ZelString nameAt(int32_t i) = 0;
  virtual IZelParameter* parameterAt(int32_t i) = 0;
};
