#pragma once

// The reference side of the 3-2-1 device-to-part alignment: the points picked (or typed) on the reference
// object for three planes, the planes built from them and the two surface normals that orient planes 1 and 2.
// Plane 1 runs through three points; plane 2 through two and square to plane 1; plane 3 through one and
// square to both. A plane that cannot be built is stored as all zeros (or with a zero normal), which
// Plane::isValid rejects. Every change is announced: "Plane1", "Plane2" or "Plane3" with a pointer to the
// plane, "Point" (null) after every setPoint and clearPlane. Planes are numbered 1 to 3, points from 0.
// Main thread only; the listeners run inside the changing call.

#include <array>
#include <bitset>

#include "basic_types/plane.h"
#include "basic_types/vector3.h"
#include "framework/subject/palpera_subject_base.h"

class DeviceToPartReferencePlanes : public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "PalperaDeviceToPartAlignmentCmd::Data";

  // Stores the point and rebuilds the plane once its points are complete (plane 3 at once). A plane other
  // than 1 to 3, or an index past the plane's points, stores nothing; "Point" follows in every case.
  void setPoint(int plane, int index, const Vector3& point);
  // Plane 2 (and with it plane 3) or plane 3 back to nothing: points, flags, plane and direction.
  void clearPlane(int plane);
  // Reverses a reference plane (normal and d) and the surface normal picked with it, and announces it; the
  // other planes stay as they are.
  void flipPlane(int plane);

  // Whether all six reference points are set.
  bool isComplete() const { return plane1Set.all() && plane2Set.all() && plane3Set; }
  // The given point of a plane (plane 3: its one point); zero for anything else.
  Vector3 point(int plane, int index) const;

  std::array<Vector3, 3> plane1Points{};
  std::bitset<3> plane1Set;
  std::array<Vector3, 2> plane2Points{};
  std::bitset<2> plane2Set;
  Vector3 plane3Point;
  bool plane3Set = false;
  std::array<Plane, 3> referencePlanes{};  // planes 1, 2, 3
  // The surface normals at the last pick of planes 1 and 2; zero leaves the plane's sense as computed.
  Vector3 plane1Direction;
  Vector3 plane2Direction;
  // The surface normal at the pick of plane 3, which tells on which side of plane 3 the material lies (plane
  // 3's own sense is n1 x n2); zero when not known.
  Vector3 plane3Direction;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool computePlane1();
  bool computePlane2();
  void computePlane3();
  void announce(int plane);
};
