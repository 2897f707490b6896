#include "commands/alignment/device_to_part/reference_planes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/object/query_chain.h"

namespace {

constexpr double kShortestEdgeSquared = 1e-12;
constexpr const char* kPlaneEvents[] = {"Plane1", "Plane2", "Plane3"};

Plane planeThrough(const Vector3& normal, const Vector3& point) {
  return {normal.x, normal.y, normal.z, normal.dot(point)};
}

void reverse(Plane& plane) {
  plane = {-plane.nx, -plane.ny, -plane.nz, -plane.d};
}

// The plane's sense follows the surface normal picked with its points: it turns round when the two point
// more than a right angle apart. A zero direction leaves it as it is.
void orientBy(Plane& plane, const Vector3& direction) {
  if (direction.squaredLength() == 0.0) return;
  const double angle = std::acos(std::clamp(plane.normal().dot(direction), -1.0, 1.0));
  if (angle > std::numbers::pi / 2) reverse(plane);
}

}  // namespace

void DeviceToPartReferencePlanes::setPoint(int plane, int index, const Vector3& point) {
  if (plane == 1 && index >= 0 && index < 3) {
    plane1Points[index] = point;
    plane1Set.set(index);
    if (plane1Set.all()) {
      if (!computePlane1()) {
        clearPlane(3);
        clearPlane(2);
      }
      announce(1);
    }
  } else if (plane == 2 && index >= 0 && index < 2) {
    plane2Points[index] = point;
    plane2Set.set(index);
    if (plane2Set.all()) {
      if (!computePlane2()) clearPlane(3);
      announce(2);
    }
  } else if (plane == 3) {
    plane3Point = point;
    plane3Set = true;
    computePlane3();
    announce(3);
  }
  notify("Point", nullptr);
}

void DeviceToPartReferencePlanes::clearPlane(int plane) {
  if (plane == 2) {
    referencePlanes[1] = {};
    plane2Points = {};
    plane2Set.reset();
    plane2Direction = {};
    announce(2);
    clearPlane(3);
    return;
  }
  if (plane == 3) {
    referencePlanes[2] = {};
    plane3Point = {};
    plane3Set = false;
    plane3Direction = {};
    announce(3);
  }
  notify("Point", nullptr);
}

void DeviceToPartReferencePlanes::flipPlane(int plane) {
  if (plane < 1 || plane > 3) return;
  reverse(referencePlanes[plane - 1]);
  // The operator says the face looks the other way: its picked normal turns with it, or the face's material
  // would stay where the pick put it and the probed plane be found on the wrong side of it.
  Vector3* direction[] = {&plane1Direction, &plane2Direction, &plane3Direction};
  *direction[plane - 1] = -*direction[plane - 1];
  announce(plane);
}

Vector3 DeviceToPartReferencePlanes::point(int plane, int index) const {
  if (plane == 1 && index >= 0 && index < 3) return plane1Points[index];
  if (plane == 2 && index >= 0 && index < 2) return plane2Points[index];
  if (plane == 3) return plane3Point;
  return {};
}

bool DeviceToPartReferencePlanes::computePlane1() {
  const auto& [p1, p2, p3] = plane1Points;
  const Vector3 e1 = p2 - p1, e2 = p3 - p1;
  if (e1.squaredLength() < kShortestEdgeSquared || e2.squaredLength() < kShortestEdgeSquared) {
    referencePlanes[0] = {};
    return false;
  }
  // Three distinct points on a line give a zero normal: a plane that is computed but not valid.
  Vector3 normal = Vector3::cross(e1, e2);
  normal.normalize();
  referencePlanes[0] = planeThrough(normal, ((p1 + p2) + p3) / 3.0);
  orientBy(referencePlanes[0], plane1Direction);
  return true;
}

bool DeviceToPartReferencePlanes::computePlane2() {
  const auto& [q1, q2] = plane2Points;
  const Vector3 e = q2 - q1;
  if (e.squaredLength() < kShortestEdgeSquared) {
    referencePlanes[1] = {};
    return false;
  }
  Vector3 normal = Vector3::cross(e, referencePlanes[0].normal());
  normal.normalize();
  referencePlanes[1] = planeThrough(normal, (q1 + q2) / 2.0);
  orientBy(referencePlanes[1], plane2Direction);
  return true;
}

void DeviceToPartReferencePlanes::computePlane3() {
  Vector3 normal = Vector3::cross(referencePlanes[0].normal(), referencePlanes[1].normal());
  normal.normalize();
  referencePlanes[2] = planeThrough(normal, plane3Point);
}

void DeviceToPartReferencePlanes::announce(int plane) {
  notify(kPlaneEvents[plane - 1], &referencePlanes[plane - 1]);
}

void DeviceToPartReferencePlanes::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelSubject*>(this));
  querySubjectChain(chain);
}
