#pragma once

// The feature kinds beside the point (host_api/points.h), each made fresh by its interface name through the
// root. Every kind is an IZelFeature (host_api/zel_feature.h). Lengths are metres, angles radians. Setters
// that take a direction store it at unit length and answer false, changing nothing, for a zero or
// non-finite one; other setters take their values as given.
//
// Some setters end in arguments that callers always pass as 0 or null (the reserved ones below): they belong
// to the call's shape, so module code passes them as it is written, and the stand-in host ignores them.

#include "host_api/points.h"
#include "host_api/zel_feature.h"

// A plane through its centre with a unit normal; its points x satisfy n·x = d.
class IZelPlane : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelPlane";

  virtual Vector3 center() = 0;
  virtual Vector3 normal() = 0;
  // n is the plane's own unit normal, d = n·centre.
  virtual void equation(Vector3& n, double& d) = 0;
  // Moves the plane to run through the point, its normal kept.
  virtual void setCenter(const Vector3& point) = 0;
  // The plane through point with that normal, its frame's first direction taken from reference (any
  // direction not along the normal; along it, the host picks one). Callers pass 0, 0 as the reserved
  // numbers.
  virtual bool setPlane(const Vector3& point, const Vector3& normal, const Vector3& reference,
                        int32_t reserved1, int32_t reserved2) = 0;
};

// A bounded line from its start to its end.
class IZelLine : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelLine";

  virtual Vector3 start() = 0;
  virtual Vector3 end() = 0;
  // The point between start and end nearest the given one.
  virtual Vector3 closestPoint(const Vector3& point) = 0;
  // Callers pass 0, 0 as the reserved numbers.
  virtual void setLine(const Vector3& start, const Vector3& end, int32_t reserved1, int32_t reserved2) = 0;
};

// A point marked as a target of the given size (its diameter), facing along its direction.
class IZelTargetPoint : public virtual IZelPoint {
 public:
  static constexpr const char* interfaceName = "IZelTargetPoint";

  virtual void setSize(double size) = 0;
  virtual double size() = 0;
  virtual bool setDirection(const Vector3& direction) = 0;
  virtual Vector3 direction() = 0;
};

// A circle in the plane through its centre across its normal.
class IZelArc : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelArc";

  virtual void setCenter(const Vector3& center) = 0;
  virtual bool setNormal(const Vector3& normal) = 0;
  virtual void setRadius(double radius) = 0;
  virtual Vector3 center() = 0;
  virtual Vector3 normal() = 0;
  virtual double radius() = 0;
};

class IZelSphere : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelSphere";

  virtual void setCenter(const Vector3& center) = 0;
  virtual void setRadius(double radius) = 0;
  virtual Vector3 center() = 0;
  virtual double radius() = 0;
};

// A cylinder between two ends of its axis; its direction runs from the first end to the second.
class IZelCylinder : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelCylinder";

  virtual double radius() = 0;
  virtual void setRadius(double radius) = 0;
  // The first end, which is on the axis.
  virtual Vector3 axisPoint() = 0;
  virtual Vector3 axisDirection() = 0;
  virtual Vector3 firstEnd() = 0;
  virtual Vector3 secondEnd() = 0;
  // The cylinder between the two ends, its frame's first direction from reference as a plane's is. False,
  // changing nothing, when the ends coincide or a value is not finite. Callers pass three nulls as the
  // reserved objects.
  virtual bool redefine(const Vector3& firstEnd, const Vector3& secondEnd, double radius,
                        const Vector3& reference, IZelUnknown* reserved1, IZelUnknown* reserved2,
                        IZelUnknown* reserved3) = 0;
};

// A cone between the ends A and B of its axis, of radius rA at A and rB at B; its direction runs from A to B.
class IZelCone : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelCone";

  virtual Vector3 axisDirection() = 0;
  // The angle between the axis and the surface: atan(|rB − rA| / |B − A|).
  virtual double halfAngle() = 0;
  virtual Vector3 endA() = 0;
  virtual Vector3 endB() = 0;
  virtual double radiusA() = 0;
  virtual double radiusB() = 0;
  // As IZelCylinder::redefine, with a radius for each end.
  virtual bool redefine(const Vector3& endA, const Vector3& endB, double radiusA, double radiusB,
                        const Vector3& reference, IZelUnknown* reserved1, IZelUnknown* reserved2,
                        IZelUnknown* reserved3) = 0;
};

// Two parallel planes at the distance w, a mid-plane point and their common unit normal between them. The
// getter hands out what the setter takes, in its order: the mid-plane point, the normal, the frame's
// reference direction, w, and the low and high corners of the region the planes were measured over (the
// box of their points; corners with low above high say there is none).
class IZelParallelPlanes : public virtual IZelFeature {
 public:
  static constexpr const char* interfaceName = "IZelParallelPlanes";

  virtual void planes(Vector3& midPoint, Vector3& normal, Vector3& reference, double& distance, Vector3& low,
                      Vector3& high) = 0;
  virtual bool setPlanes(const Vector3& midPoint, const Vector3& normal, const Vector3& reference,
                         double distance, const Vector3& low, const Vector3& high) = 0;
  // The integer value of the feature's "<Solidity>" parameter, 0 when it has none.
  virtual int32_t solidity() = 0;
};

// What the three slots share: a centre, the length along the axis and the width across it over the whole
// slot, the unit axis and the unit second (width) direction, of which the outline uses the part square to the
// axis. The slot's plane runs through the centre across axis × second direction.
class IZelSlotOutline : public virtual IZelFeature {
 public:
  virtual void setCenter(const Vector3& center) = 0;
  virtual void setWidth(double width) = 0;
  virtual void setLength(double length) = 0;
  virtual bool setAxis(const Vector3& axis) = 0;
  virtual bool setSecondDirection(const Vector3& direction) = 0;
  virtual Vector3 center() = 0;
  virtual double width() = 0;
  virtual double length() = 0;
  virtual Vector3 axis() = 0;
  virtual Vector3 secondDirection() = 0;
};

// A slot whose two ends are half circles of the slot's width.
class IZelOvalSlot : public virtual IZelSlotOutline {
 public:
  static constexpr const char* interfaceName = "IZelOvalSlot";
};

class IZelRectangularSlot : public virtual IZelSlotOutline {
 public:
  static constexpr const char* interfaceName = "IZelRectangularSlot";
};

// A rectangular slot with its four corners rounded to the corner diameter.
class IZelRoundedSlot : public virtual IZelSlotOutline {
 public:
  static constexpr const char* interfaceName = "IZelRoundedSlot";

  virtual void setCornerDiameter(double diameter) = 0;
  virtual double cornerDiameter() = 0;
};
