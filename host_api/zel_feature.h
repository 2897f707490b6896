#pragma once

// A feature: a geometric element of the document (a point, plane, line, circle, ...) that a document object
// shows as one of its sub-objects. Every feature answers "IZelFeature" beside the interface of its kind
// ("IZelPoint", "IZelPlane", ...), which is how callers tell a feature from a plain value, and
// "IZelFeatureExt" for the tests that compare it with points and other features. Lengths are metres, angles
// radians. A feature belongs to one thread at a time; nothing here locks.

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "host_api/parameters.h"
#include "host_api/zel_unknown.h"

class IZelFeature : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeature";

  // The object the feature stands for, without a reference for the caller: the caller queries it for the
  // interface of the kind it expects.
  virtual IZelUnknown* object() = 0;
  // The feature's own parameters (a probing record "<ProbeConstruction>", a "<Solidity>"), kept in a table
  // of its own: get answers the value without a reference, or null when there is none; set holds a
  // reference on the value and answers as IZelParameterTable::setParameter does.
  virtual IZelParameter* getParameter(const ZelString& name) = 0;
  virtual bool setParameter(const ZelString& name, IZelParameter* value) = 0;
  // Turns the feature round: a normal or an axis points the other way, a line runs from its end to its
  // start. A point or a sphere has no orientation and stays as it is.
  virtual void reverseOrientation() = 0;
  // The feature's local frame: two unit directions a and b, whose cross product is the feature's own
  // direction (normal or axis), and its origin c (a plane's centre, a cylinder's first axis end, ...).
  // False, leaving the outputs, when the feature's values are not finite.
  virtual bool frame(Vector3& a, Vector3& b, Vector3& c) = 0;
  // Writes the feature's axis-aligned box {min x, y, z, max x, y, z} over the six doubles, whatever they held
  // before. False, leaving them, when the feature's values are not finite.
  virtual bool boundingBox(double box[6]) = 0;
  // The feature as a value for a table or a fitter: an IZelEmbeddedFeatureParameter holding this feature.
  // The caller holds a reference on it.
  virtual IZelParameter* parameterForm() = 0;
  // A feature of the same kind and values that shares nothing with this one, its parameters copied too.
  // The caller holds a reference on it; null when a parameter cannot be copied.
  virtual IZelFeature* copy() = 0;
};

// The tests of a feature against a point and against another feature.
class IZelFeatureExt : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeatureExt";

  // Whether other is a feature of the same kind lying within maxDistance and turned by at most maxAngle.
  // The distance is that from each feature's anchor (its centre, a line's or axis's midpoint) to the other
  // feature's locus (a point, the infinite line of a line or axis, the plane of a plane), the larger of
  // the two. The angle is between the two directions (normals, axes) taken without their sense, so a
  // reversed feature still matches. Negative or non-finite tolerances match nothing.
  virtual bool match(IZelFeature* other, double maxDistance, double maxAngle) = 0;
  // Whether the point lies inside the feature, its boundary included: the ball of a sphere, the solid of a
  // cylinder or cone between its ends, the half-space behind a plane (against its normal), the slab between
  // parallel planes, the outline of a circle or slot after projecting the point onto its plane. A point or
  // a line contains only the points lying on it.
  virtual bool contains(const Vector3& point) = 0;
};

// A feature that bounds a region of its plane: a circle or a slot.
class IZelFeaturePlanar : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelFeaturePlanar";

  // Whether the point, projected onto the feature's plane, lies within its outline, the outline included.
  virtual bool isInside(const Vector3& point) = 0;
};
