#pragma once

// The geometry every feature kind is described by: its box, the locus feature matching measures against and
// its local frame. Plain values, any thread.

#include <array>
#include <optional>

#include "basic_types/vector3.h"

inline constexpr Vector3 kXAxis{1.0, 0.0, 0.0};
inline constexpr Vector3 kZAxis{0.0, 0.0, 1.0};

// {min x, y, z, max x, y, z}; the empty box has every minimum above its maximum.
using Box = std::array<double, 6>;

Box emptyBox();
Box pointBox(const Vector3& point);
void growBox(Box& box, const Vector3& point);
void growBox(Box& box, const Box& other);
// The box of the circle of that radius round centre across the unit normal: along each axis it reaches as
// far as the circle's plane lets it, r·√(1 − nᵢ²).
Box discBox(const Vector3& center, const Vector3& normal, double radius);
bool isFiniteBox(const Box& box);

// Where a feature lies, for matching: a point, an infinite line or a plane through the anchor, with a unit
// direction (the line's, the plane's normal; zero for a feature without one).
struct Locus {
  enum class Shape { kPoint, kLine, kPlane };
  Shape shape = Shape::kPoint;
  Vector3 anchor;
  Vector3 direction;
};

// The distance from the point to the locus.
double distanceTo(const Locus& locus, const Vector3& point);
// The angle between the two directions without their sense, in [0, π/2]; 0 when either has none.
double undirectedAngle(const Vector3& a, const Vector3& b);
// Both anchors within maxDistance of the other locus, the directions within maxAngle.
bool lociMatch(const Locus& a, const Locus& b, double maxDistance, double maxAngle);

struct Frame {
  Vector3 a;
  Vector3 b;
  Vector3 origin;
};

// The frame about a unit direction: a is the reference's part square to the direction, at unit length (any
// square direction when the reference has none), and b = direction × a, so that a × b is the direction.
Frame frameAbout(const Vector3& origin, const Vector3& direction, const Vector3& reference);
bool isFiniteFrame(const Frame& frame);

// The unit vector along v, or none for a zero or non-finite v.
std::optional<Vector3> unitDirection(const Vector3& v);
bool isFinite(const Vector3& v);
