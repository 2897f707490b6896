#include "devices/alignment/transform_checks.h"

#include <algorithm>
#include <cmath>
#include <iterator>

bool isUsableTransform(const Matrix4x4& m) {
  bool finite = std::all_of(std::begin(m.m), std::end(m.m), [](double e) { return std::isfinite(e); });
  double determinant = m.determinant3();
  return finite && m.m[12] == 0.0 && m.hasUnitLastRow() && std::isfinite(determinant) && determinant != 0.0;
}

bool isProperRigid(const Matrix4x4& m) {
  return isUsableTransform(m) && m.isRigid() && m.determinant3() > 0.0;
}
