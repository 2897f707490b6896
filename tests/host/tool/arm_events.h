#pragma once

// A device-event file written as an arm writes it, for palpera-host to replay: the arm streams its moves as
// the ball travels in to each touch, with the stylus held however the operator holds it. Given in the part's
// own coordinates and placed where a pose puts the part; numbers as the writer prints them (six decimals).

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"

class ArmEvents {
 public:
  ArmEvents(const Matrix4x4& pose, double ballDiameter) : pose_(pose), radius_(ballDiameter / 2) {
    xml_ = "<SetRadius time=\"0\">" + number(radius_) + "</SetRadius>";
  }

  // The ball travels in along travel to touch surface, whose normal points to the free side: moves at 4, 2,
  // 1 and 1/2 of its radius back, the last of them clear of the touch however the device thins them out.
  ArmEvents& travelIn(const Vector3& surface, const Vector3& normal, const Vector3& travel,
                      const Vector3& stylus) {
    const Vector3 centre = surface + normal * radius_;
    for (const double back : {4.0, 2.0, 1.0, 0.5})
      moved(centre - travel.normalized() * (back * radius_), stylus);
    return touch(centre);
  }
  // The ball rests on surface before the touch: the moves lie within a tenth of its radius of it.
  ArmEvents& rest(const Vector3& surface, const Vector3& normal, const Vector3& stylus) {
    const Vector3 centre = surface + normal * radius_;
    for (const Vector3& jitter : {Vector3(1, 0, 0), Vector3(0, -1, 0), Vector3(0, 0, 1)})
      moved(centre + jitter * (0.1 * radius_), stylus);
    return touch(centre);
  }
  // A touch with no move before it, as a recording made without moves has.
  ArmEvents& touchOnly(const Vector3& surface, const Vector3& normal) {
    return touch(surface + normal * radius_);
  }
  // The ball's centre streamed along a path, as an arm reports it at its rate; then a touch where it ends.
  ArmEvents& stream(const std::vector<Vector3>& centres, const Vector3& stylus) {
    for (const Vector3& centre : centres) moved(centre, stylus);
    return *this;
  }
  ArmEvents& touchAt(const Vector3& centre) { return touch(centre); }
  // The operator takes the last touch back.
  ArmEvents& undo() {
    xml_ += "<OnCustomEvent time=\"1\" name=\"UndoLastSampled\"/>";
    return *this;
  }
  ArmEvents& stop(const Vector3& at) {
    xml_ += "<OnPointStop time=\"1\">" + vector("Point", placed(at)) + "</OnPointStop>";
    return *this;
  }

  const std::string& xml() const { return xml_; }

 private:
  ArmEvents& touch(const Vector3& centre) {
    xml_ += "<OnPointSampled time=\"1\">" + vector("Point", placed(centre)) + "</OnPointSampled>";
    return *this;
  }
  void moved(const Vector3& centre, const Vector3& stylus) {
    const Vector3 to = Matrix4x4::transformVector(pose_, stylus.normalized());
    Vector3 up, side;
    Vector3::orthonormalBasis(to, up, side);
    xml_ += "<OnMoved time=\"1\">" + vector("Point", placed(centre)) + vector("To", to) + vector("Up", up) +
            "</OnMoved>";
  }
  Vector3 placed(const Vector3& point) const { return Matrix4x4::transformPoint(pose_, point); }
  static std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
  }
  static std::string vector(const char* name, const Vector3& v) {
    return std::string("<") + name + "><X>" + number(v.x) + "</X><Y>" + number(v.y) + "</Y><Z>" +
           number(v.z) + "</Z></" + name + ">";
  }

  Matrix4x4 pose_;
  double radius_;
  std::string xml_;
};

// The stylus tilted from along by degrees towards lean.
inline Vector3 tilted(const Vector3& along, const Vector3& lean, double degrees) {
  const double a = degrees * M_PI / 180;
  return along.normalized() * std::cos(a) +
         Vector3::perpendicularPart(lean, along).normalized() * std::sin(a);
}
