#include "basic_types/matrix4x4.h"

#include <algorithm>
#include <cstring>
#include <numbers>
#include <utility>

namespace {

// Column lengths and dot products of a rigid transform stay this close to 1 and 0.
constexpr double kRigidTolerance = 1e-7;
// Directions closer than this angle (radians) need no rotation; directions closer than this to opposite need
// a half turn, whose axis the cross product can no longer give.
constexpr double kRotationAngleTolerance = 1e-7;

double columnDot(const Matrix4x4& t, int i, int j) {
  return t.m[i] * t.m[j] + t.m[4 + i] * t.m[4 + j] + t.m[8 + i] * t.m[8 + j];
}

void swapRows(double* a, int r, int s) {
  for (int c = 0; c < 4; ++c) std::swap(a[4 * r + c], a[4 * s + c]);
}

// The row at or below column c with the strictly largest magnitude in that column, or -1 when every one is 0.
int pivotRow(const double* a, int c) {
  int pivot = -1;
  double best = 0.0;
  for (int r = c; r < 4; ++r) {
    if (std::fabs(a[4 * r + c]) > best) {
      best = std::fabs(a[4 * r + c]);
      pivot = r;
    }
  }
  return pivot;
}

}  // namespace

void Matrix4x4::multiply(Matrix4x4& out, const Matrix4x4& a, const Matrix4x4& b) {
  Matrix4x4 product;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      product.m[4 * r + c] = a.m[4 * r] * b.m[c] + a.m[4 * r + 1] * b.m[4 + c] + a.m[4 * r + 2] * b.m[8 + c] +
                             a.m[4 * r + 3] * b.m[12 + c];
    }
  }
  out = product;
}

Matrix4x4 Matrix4x4::operator*(const Matrix4x4& b) const {
  Matrix4x4 product;
  multiply(product, *this, b);
  return product;
}

void Matrix4x4::assign(const double* src) {
  if (!src) {
    *this = identity();
    return;
  }
  std::memcpy(m, src, sizeof m);
}

Matrix4x4 Matrix4x4::transposed() const {
  Matrix4x4 t;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) t.m[4 * c + r] = m[4 * r + c];
  }
  return t;
}

int Matrix4x4::invert(const Matrix4x4& t, Matrix4x4& out) {
  Matrix4x4 a = t;
  Matrix4x4 result;
  for (int c = 0; c < 4; ++c) {
    int pivot = pivotRow(a.m, c);
    if (pivot < 0) return 0;
    if (pivot != c) {
      swapRows(a.m, c, pivot);
      swapRows(result.m, c, pivot);
    }
    double divisor = a.m[5 * c];
    for (int k = 0; k < 4; ++k) {
      a.m[4 * c + k] /= divisor;
      result.m[4 * c + k] /= divisor;
    }
    for (int r = 0; r < 4; ++r) {
      double factor = a.m[4 * r + c];
      if (r == c) continue;
      for (int k = 0; k < 4; ++k) {
        a.m[4 * r + k] -= factor * a.m[4 * c + k];
        result.m[4 * r + k] -= factor * result.m[4 * c + k];
      }
    }
  }
  out = result;
  return 1;
}

Matrix4x4 Matrix4x4::inverse(const Matrix4x4& t) {
  Matrix4x4 out;
  invert(t, out);
  return out;
}

double Matrix4x4::determinant3() const {
  return m[0] * m[5] * m[10] + m[1] * m[6] * m[8] + m[2] * m[4] * m[9] - m[2] * m[5] * m[8] -
         m[0] * m[6] * m[9] - m[1] * m[4] * m[10];
}

bool Matrix4x4::isRigid() const {
  return isRigidWithin(kRigidTolerance);
}

bool Matrix4x4::isRigidWithin(double tolerance) const {
  for (int j = 0; j < 3; ++j) {
    if (!(std::fabs(std::sqrt(columnDot(*this, j, j)) - 1.0) <= tolerance)) return false;
  }
  return std::fabs(columnDot(*this, 0, 1)) <= tolerance && std::fabs(columnDot(*this, 1, 2)) <= tolerance &&
         std::fabs(columnDot(*this, 0, 2)) <= tolerance;
}

Matrix4x4 Matrix4x4::translation(const Vector3& t) {
  Matrix4x4 result;
  result.m[3] = t.x;
  result.m[7] = t.y;
  result.m[11] = t.z;
  return result;
}

Matrix4x4 Matrix4x4::rotation(const Vector3& axis, double angle) {
  Vector3 n = axis;
  if (!n.normalize()) return identity();
  double c = std::cos(angle);
  double s = std::sin(angle);
  double t = 1.0 - c;
  double x = n.x, y = n.y, z = n.z;
  Matrix4x4 r;
  r.m[0] = x * x * t + c, r.m[1] = x * y * t - z * s, r.m[2] = x * z * t + y * s;
  r.m[4] = x * y * t + z * s, r.m[5] = y * y * t + c, r.m[6] = y * z * t - x * s;
  r.m[8] = x * z * t - y * s, r.m[9] = y * z * t + x * s, r.m[10] = z * z * t + c;
  return r;
}

Matrix4x4 Matrix4x4::rotationBetween(const Vector3& a, const Vector3& b) {
  Vector3 from = a.normalized();
  Vector3 to = b.normalized();
  double angle = std::acos(std::clamp(from.dot(to), -1.0, 1.0));
  if (angle < kRotationAngleTolerance) return identity();
  if (angle > std::numbers::pi - kRotationAngleTolerance) {
    Vector3 u, v;
    Vector3::orthonormalBasis(from, u, v);
    return rotation(u, std::numbers::pi);
  }
  return rotation(Vector3::cross(from, to).normalized(), angle);
}

Matrix4x4 Matrix4x4::scaling(double sx, double sy, double sz) {
  Matrix4x4 result;
  result.m[0] = sx;
  result.m[5] = sy;
  result.m[10] = sz;
  return result;
}
