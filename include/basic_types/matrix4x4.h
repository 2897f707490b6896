#pragma once

// Matrix4x4: a 4×4 transform of 16 doubles in row-major order (row r, column c at 4r + c), applied to points
// as column vectors, so the translation sits in the last column (m[3], m[7], m[11]) and an affine transform
// has the last row (0, 0, 0, 1). A product A·B applies B first, then A. Default-constructed as the identity.
// A value type: copy it freely, any thread.

#include "basic_types/vector3.h"

struct Matrix4x4 {
  double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  static Matrix4x4 identity() { return {}; }
  // out = a·b; out may be a or b.
  static void multiply(Matrix4x4& out, const Matrix4x4& a, const Matrix4x4& b);
  Matrix4x4 operator*(const Matrix4x4& b) const;
  // The 16 doubles from src; the identity for a null src.
  void assign(const double* src);

  // The point mapped with the division by w = m12 x + m13 y + m14 z + m15 (no check for w = 0).
  static Vector3 transformPoint(const Matrix4x4& t, const Vector3& p) {
    const double* a = t.m;
    double w = a[12] * p.x + a[13] * p.y + a[14] * p.z + a[15];
    return {(a[0] * p.x + a[1] * p.y + a[2] * p.z + a[3]) / w,
            (a[4] * p.x + a[5] * p.y + a[6] * p.z + a[7]) / w,
            (a[8] * p.x + a[9] * p.y + a[10] * p.z + a[11]) / w};
  }
  // The same with the numerators multiplied by 1/w.
  static void transformPointTo(const Matrix4x4& t, const Vector3& p, Vector3& out) {
    const double* a = t.m;
    double inverseW = 1.0 / (a[12] * p.x + a[13] * p.y + a[14] * p.z + a[15]);
    out = {(a[0] * p.x + a[1] * p.y + a[2] * p.z + a[3]) * inverseW,
           (a[4] * p.x + a[5] * p.y + a[6] * p.z + a[7]) * inverseW,
           (a[8] * p.x + a[9] * p.y + a[10] * p.z + a[11]) * inverseW};
  }
  // The 3×3 part times v: a direction, without translation or division.
  static Vector3 transformVector(const Matrix4x4& t, const Vector3& v) {
    const double* a = t.m;
    return {a[0] * v.x + a[1] * v.y + a[2] * v.z, a[4] * v.x + a[5] * v.y + a[6] * v.z,
            a[8] * v.x + a[9] * v.y + a[10] * v.z};
  }

  Matrix4x4 transposed() const;
  // Gauss-Jordan elimination with partial pivoting. 1 with the inverse in out, or 0 for a singular matrix (a
  // column without a non-zero pivot), leaving out untouched. Any non-zero pivot is accepted.
  static int invert(const Matrix4x4& t, Matrix4x4& out);
  // The inverse, or the identity for a singular matrix.
  static Matrix4x4 inverse(const Matrix4x4& t);
  // The determinant of the 3×3 part.
  double determinant3() const;
  // True when the 3×3 part has orthonormal columns within 1e-7 (isRigidWithin(1e-7)). Reflections pass:
  // callers that need a proper rotation also ask determinant3() ≥ 0.
  bool isRigid() const;
  // True when each column's length lies within tolerance of 1 and each two columns' dot product within
  // tolerance of 0.
  bool isRigidWithin(double tolerance) const;
  // True when the whole last row is 0 0 0 1 exactly: then w is exactly 1 for every finite point.
  bool isAffine() const { return m[12] == 0.0 && m[13] == 0.0 && m[14] == 0.0 && m[15] == 1.0; }

  static Matrix4x4 translation(const Vector3& t);
  // Right-handed rotation by angle (radians) about the normalised axis; the identity for a zero axis.
  static Matrix4x4 rotation(const Vector3& axis, double angle);
  // The rotation that turns direction a into direction b: the identity for directions within 1e-7 rad, a half
  // turn about an axis perpendicular to a for opposite directions.
  static Matrix4x4 rotationBetween(const Vector3& a, const Vector3& b);
  static Matrix4x4 scaling(double sx, double sy, double sz);
  static Matrix4x4 uniformScaling(double s) { return scaling(s, s, s); }
};

// A value object that carries a transform: its vtable, then the 16 doubles.
class ZelMatrixValue {
 public:
  virtual ~ZelMatrixValue() = default;
  Matrix4x4 matrix;
};

// The 16 doubles of source into target's matrix.
inline void copyMatrix(ZelMatrixValue& target, const Matrix4x4& source) {
  target.matrix = source;
}
