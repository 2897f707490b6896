#include "host/fitting/slot_fitters.h"

#include <array>
#include <cmath>

#include <Eigen/Geometry>

#include "host/document/features/host_rectangular_slot.h"
#include "host/document/features/host_rounded_slot.h"
#include "host/fitting/geometry/plane_fit.h"

namespace {

// Probed sides of a slot are never exactly parallel or square; lines further off than this do not outline a
// rectangle, and a slot made of them would be a guess.
const double kMaxSkew = std::sin(10.0 * 3.14159265358979323846 / 180.0);

struct Outline {
  Eigen::Vector3d centre;
  Eigen::Vector3d axis;
  Eigen::Vector3d across;
  double length;
  double width;
};

struct Segment {
  Eigen::Vector3d start;
  Eigen::Vector3d end;
  Eigen::Vector3d middle() const { return (start + end) / 2.0; }
};

// v without its part along the unit normal, at unit length; zero when nothing is left.
Eigen::Vector3d inPlane(const Eigen::Vector3d& v, const Eigen::Vector3d& normal) {
  Eigen::Vector3d across = v - normal * normal.dot(v);
  double length = across.norm();
  return length > 0.0 && std::isfinite(length) ? Eigen::Vector3d(across / length) : Eigen::Vector3d::Zero();
}

// Two parallel lines: their common direction, the middle between them and their distance apart.
struct ParallelPair {
  Eigen::Vector3d direction;
  Eigen::Vector3d middle;
  double distance;
};

ParallelPair pairOf(const Segment& a, const Segment& b, const Eigen::Vector3d& normal) {
  Eigen::Vector3d da = inPlane(a.end - a.start, normal);
  Eigen::Vector3d db = inPlane(b.end - b.start, normal);
  Eigen::Vector3d direction = inPlane(da + (da.dot(db) < 0.0 ? -db : db), normal);
  double distance = std::fabs((b.middle() - a.middle()).dot(normal.cross(direction)));
  return {direction, (a.middle() + b.middle()) / 2.0, distance};
}

bool isSkew(const Eigen::Vector3d& u, const Eigen::Vector3d& v) {
  return u.cross(v).norm() > kMaxSkew;
}

std::optional<Outline> rectangleOf(const std::array<Segment, 4>& lines) {
  FitPoints endPoints;
  for (const Segment& line : lines) endPoints.insert(endPoints.end(), {line.start, line.end});
  auto plane = fitting::fitPlane(endPoints);
  if (!plane) return std::nullopt;
  const Eigen::Vector3d& n = plane->normal;
  auto direction = [&](int i) { return inPlane(lines[i].end - lines[i].start, n); };
  for (int i = 0; i < 4; ++i) {
    if (direction(i).isZero()) return std::nullopt;  // a line without length, or square to the slot's plane
  }
  // The first line's partner is the one most nearly parallel to it; the other two are the second pair.
  int partner = 1;
  for (int j = 2; j < 4; ++j) {
    if (std::fabs(direction(0).dot(direction(j))) > std::fabs(direction(0).dot(direction(partner))))
      partner = j;
  }
  std::array<int, 2> rest{};
  for (int j = 1, k = 0; j < 4; ++j) {
    if (j != partner) rest[k++] = j;
  }
  ParallelPair first = pairOf(lines[0], lines[partner], n);
  ParallelPair second = pairOf(lines[rest[0]], lines[rest[1]], n);
  if (isSkew(direction(0), direction(partner)) || isSkew(direction(rest[0]), direction(rest[1])) ||
      std::fabs(first.direction.dot(second.direction)) > kMaxSkew) {
    return std::nullopt;
  }
  const ParallelPair& sides = first.distance <= second.distance ? first : second;
  const ParallelPair& ends = first.distance <= second.distance ? second : first;
  Eigen::Vector3d centre = sides.middle + sides.direction * (ends.middle - sides.middle).dot(sides.direction);
  return Outline{centre, sides.direction, n.cross(sides.direction), ends.distance, sides.distance};
}

// The distance between the means of the two centres on either side of the middle along u; none unless two
// lie on each side.
std::optional<double> spacingAlong(const FitPoints& centres, const Eigen::Vector3d& middle,
                                   const Eigen::Vector3d& u) {
  double low = 0.0, high = 0.0;
  int highCount = 0;
  for (const Eigen::Vector3d& c : centres) {
    double t = (c - middle).dot(u);
    (t > 0.0 ? high : low) += t;
    highCount += t > 0.0;
  }
  if (highCount != 2) return std::nullopt;
  return (high - low) / 2.0;
}

std::optional<Outline> roundedOf(const FitPoints& centres, double cornerDiameter) {
  auto plane = fitting::fitPlane(centres);
  if (!plane || !(cornerDiameter > 0.0) || !std::isfinite(cornerDiameter)) return std::nullopt;
  const Eigen::Vector3d& n = plane->normal;
  // The two centres nearest the first are its neighbours round the rectangle; the farther one is along it.
  std::array<double, 4> distance{};
  for (int j = 1; j < 4; ++j) distance[j] = (centres[j] - centres[0]).norm();
  int diagonal = 1;
  for (int j = 2; j < 4; ++j) {
    if (distance[j] > distance[diagonal]) diagonal = j;
  }
  int along = diagonal == 1 ? 2 : 1;
  for (int j = 1; j < 4; ++j) {
    if (j != diagonal && distance[j] > distance[along]) along = j;
  }
  Eigen::Vector3d axis = inPlane(centres[along] - centres[0], n);
  Eigen::Vector3d across = n.cross(axis);
  std::optional<double> length = spacingAlong(centres, plane->point, axis);
  std::optional<double> width = spacingAlong(centres, plane->point, across);
  if (axis.isZero() || !length || !width) return std::nullopt;
  return Outline{plane->point, axis, across, *length + cornerDiameter, *width + cornerDiameter};
}

template <class Slot>
IPtr<IZelFeature> slotOf(const std::optional<Outline>& outline, const IPtr<Slot>& slot) {
  if (!outline || !(outline->width > 0.0)) return {};
  slot->setCenter(toVector3(outline->centre));
  slot->setWidth(outline->width);
  slot->setLength(outline->length);
  if (!slot->setAxis(toVector3(outline->axis)) || !slot->setSecondDirection(toVector3(outline->across)))
    return {};
  return IPtr<IZelFeature>(static_cast<IZelFeature*>(slot.get()));
}

}  // namespace

IPtr<IZelFeature> HostRectangularSlotFitter::fitFeature() {
  const std::array<const char16_t*, 4> names{u"<Line1>", u"<Line2>", u"<Line3>", u"<Line4>"};
  std::array<Segment, 4> lines;
  for (size_t k = 0; k < names.size(); ++k) {
    IZelLine* line = embedded<IZelLine>(names[k]);
    if (!line) return {};
    lines[k] = {toEigen(line->start()), toEigen(line->end())};
  }
  return slotOf(rectangleOf(lines), IPtr<HostRectangularSlot>(new HostRectangularSlot));
}

IPtr<IZelFeature> HostRoundedSlotFitter::fitFeature() {
  const std::array<const char16_t*, 4> names{u"<Circle1>", u"<Circle2>", u"<Circle3>", u"<Circle4>"};
  FitPoints centres;
  double diameters = 0.0;
  for (const char16_t* name : names) {
    IZelArc* circle = embedded<IZelArc>(name);
    if (!circle) return {};
    centres.push_back(toEigen(circle->center()));
    diameters += 2.0 * circle->radius();
  }
  double cornerDiameter = diameters / 4.0;
  IPtr<HostRoundedSlot> slot(new HostRoundedSlot);
  slot->setCornerDiameter(cornerDiameter);
  return slotOf(roundedOf(centres, cornerDiameter), slot);
}
