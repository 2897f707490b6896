#pragma once

// Vector3: three doubles, used both for points and for directions; (0, 0, 0) when default-constructed. All
// spatial computation of the module is in double precision. A value type: copy it freely, any thread.

#include <cmath>
#include <iosfwd>
#include <optional>

// The double machine epsilon, compared with squared lengths: a direction whose squared length is not above it
// is too short to project onto.
inline constexpr double EPS_SQUARED = 2.220446049250313e-16;

struct Vector3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  constexpr Vector3() = default;
  constexpr Vector3(double xValue, double yValue, double zValue) : x(xValue), y(yValue), z(zValue) {}

  Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  // Flips each component's sign bit, so 0 becomes −0.
  Vector3 operator-() const { return {-x, -y, -z}; }
  Vector3 operator*(double s) const { return {x * s, y * s, z * s}; }
  friend Vector3 operator*(double s, const Vector3& v) { return v * s; }
  // No check for a zero divisor.
  Vector3 operator/(double s) const { return {x / s, y / s, z / s}; }
  friend bool operator==(const Vector3&, const Vector3&) = default;

  double dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
  double squaredLength() const { return dot(*this); }
  double length() const { return std::sqrt(squaredLength()); }
  static Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  }
  void copyTo(double out[3]) const {
    out[0] = x;
    out[1] = y;
    out[2] = z;
  }

  // Scales to unit length in place. Each component comes from the squares of the other two, so its magnitude
  // is exact to the direction cosine and never above 1. False, leaving the vector, when its squared length is
  // not above 0.
  bool normalize();
  // A normalised copy, by the same rule (a zero vector comes back unchanged).
  Vector3 normalized() const;

  // The part of a along d: ((a·d)/|d|²)·d; the zero vector when |d|² is not above EPS_SQUARED.
  static Vector3 projectOnto(const Vector3& a, const Vector3& d);
  // The part of a across d: a − projectOnto(a, d); a itself when |d|² is not above EPS_SQUARED.
  static Vector3 perpendicularPart(const Vector3& a, const Vector3& d);
  // True when the sine of the angle between a and b is at most t: (a·b)² ≥ |a|²(1 − t²)|b|². Opposite
  // directions count as parallel.
  static bool isParallel(const Vector3& a, const Vector3& b, double t);
  // Unit vectors u and v that make a right-handed orthonormal frame (u, v, d/|d|). False for a zero
  // direction.
  static bool orthonormalBasis(const Vector3& d, Vector3& u, Vector3& v);
};

// The foot of the perpendicular from p on the line through a and b; none when a and b coincide exactly.
std::optional<Vector3> projectOntoLine(const Vector3& p, const Vector3& a, const Vector3& b);

// "(x,y,z)" in the stream's own number format.
std::ostream& operator<<(std::ostream& out, const Vector3& v);

// Copies three doubles (x, y, z) into a 3-vector member: a plain copy, no normalisation.
inline void storeVector3(double member[3], const double* v) {
  member[0] = v[0];
  member[1] = v[1];
  member[2] = v[2];
}
