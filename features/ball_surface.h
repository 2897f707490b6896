#pragma once

// The surface the ball's centre touched a feature on: the plane, cylinder, cone, circle or sphere through the
// tip centres, which a fit finds without knowing the material's side. A compensated feature lies a probe
// radius from it on one side, so the made feature gives its shape and the touches its place. A ball centre
// is never inside the material, so every position the device reported near the feature lies on its free
// side of this surface; what lies within the feature's extent tells that side (approach_side.h).
//
// Offsets are signed metres: positive outward, along a plane's normal or away from a round feature's axis
// or a sphere's centre. Values only; no thread of its own.

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "basic_types/vector3.h"
#include "host_api/zel_feature.h"

// Metres: an arm's position noise, a ball trembling on the wall and a worn part's form stay within it, so a
// ball centre further off the surface lies plainly on one side of it, and one further past the touches' ends
// lies beyond them.
inline constexpr double kClearOfSurface = 0.2e-3;

// Which side of a surface the ball was seen on, as flags: both when positions disagree.
enum class BallSide { kNone = 0, kOut = 1, kIn = 2, kBoth = 3 };

inline BallSide operator|(BallSide a, BallSide b) {
  return static_cast<BallSide>(static_cast<int>(a) | static_cast<int>(b));
}

class BallSurface {
 public:
  // The surface through the touches of the made feature; none for a kind without sides here (lines, slots,
  // points), no touches, or a degenerate shape. A circle is judged within its own plane.
  static std::optional<BallSurface> through(IZelFeature& made, std::span<const Vector3> touches,
                                            double probeRadius);
  // The plane n . x = d for n the given normal (its sense outward), placed through the touches.
  static BallSurface plane(const Vector3& normal, double d, std::span<const Vector3> touches,
                           double probeRadius);

  // Metres off this surface, positive outward.
  double offset(const Vector3& point) const;
  // The side on which the made feature put the air: a plane's normal points to it; a round feature's
  // compensated surface lies on the other side of the touches.
  BallSide madeAir() const {
    return shape_ == Shape::kPlane || madeOffset_ > 0 ? BallSide::kOut : BallSide::kIn;
  }
  // Whether the point lies within the feature's extent: between the ends of the touches along a round
  // feature's axis, over the touched cap of a sphere, over the touched area of a plane.
  bool spans(const Vector3& point) const;
  // Whether the point lies clearly past the ends of a round feature's touches along its axis.
  bool beyondEnds(const Vector3& point) const;
  // The outward direction at a point beside the surface.
  Vector3 outward(const Vector3& point) const;
  // A point on the given side, clearly off the surface and level with the touch: the touch a probe
  // radius out, or inwards the axis or centre (a plane: a radius in).
  Vector3 pointOn(BallSide side, const Vector3& touch) const;

 private:
  enum class Shape { kPlane, kAxial, kSphere };
  BallSurface(Shape shape, const Vector3& origin, const Vector3& axis, double radius, double slope)
      : shape_(shape), origin_(origin), axis_(axis.normalized()), radius_(radius), slope_(slope) {}
  // The offset from the made feature's own surface.
  double madeOffsetOf(const Vector3& point) const;
  // Places the surface through the touches and takes their extent.
  void settle(std::span<const Vector3> touches, double probeRadius);
  void settleCap(std::span<const Vector3> touches);
  void settleArea(std::span<const Vector3> touches);
  double along(const Vector3& point) const { return (point - origin_).dot(axis_); }
  double alongFoot(const Vector3& point) const;

  Shape shape_;
  Vector3 origin_;                               // a plane's point, an axis's point, a sphere's centre
  Vector3 axis_;                                 // a plane's normal, a round feature's axis
  double radius_;                                // of the made feature at origin_
  double slope_;                                 // a cone's change of radius along its axis
  double madeOffset_ = 0.0;                      // the touches' mean offset from the made surface
  double lowest_ = 0.0, highest_ = 0.0;          // the touches' ends along the axis
  Vector3 capDirection_;                         // a sphere's touches' mean direction from its centre
  double capCosine_ = -1.0;                      // and the widest of them from it
  std::vector<std::pair<double, double>> area_;  // a plane's touched area, its hull in the plane's frame
  Vector3 u_, v_;                                // that frame
  double areaMargin_ = 0.0;
  double probeRadius_ = 0.0;
};
