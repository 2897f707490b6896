#pragma once

// Planar curves: the host's curve sets, the document's holder of one, and the fitter that makes them from
// the points of a section.

#include <cstdint>

#include "host_api/curve_fit_data.h"
#include "host_api/points.h"
#include "host_api/zel_unknown.h"

// Curves numbered from 1. A curve is a spline (its control points) or a chain of lines and arcs (the ends of
// its pieces, with each arc's middle point between its ends); either open or closed.
class ICurveSet : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ICurveSet";
  enum Kind : int32_t { kSpline = 0, kLineArc = 1 };
  // The kinds of a line/arc chain's pieces, in the order of their points.
  enum Piece : int32_t { kLine = 0, kArc = 1 };

  virtual int32_t curveCount() = 0;
  // -1 outside 1..curveCount().
  virtual int32_t curveKind(int32_t curve) = 0;
  virtual bool isClosed(int32_t curve) = 0;
  // Without a reference for the caller; lives as long as the set. Null outside 1..curveCount().
  virtual RealPArray* curvePoints(int32_t curve) = 0;
  // A line/arc chain's pieces in order: kLine or kArc each, -1 past the last or for a spline.
  virtual int32_t pieceKind(int32_t curve, int32_t piece) = 0;
  // Appends copies of other's curves after this set's.
  virtual void append(ICurveSet* other) = 0;
};

// What a "Curve" document object holds: one curve set.
class IZelCurveSet : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelCurveSet";

  // Holds a reference on the set.
  virtual void setCurveSet(ICurveSet* curves) = 0;
  // Without a reference for the caller, or null.
  virtual ICurveSet* curveSet() = 0;
};

// Fits curves in a plane through the points of a section. The points are projected into the plane, ordered
// along the section and broken into polylines where a gap is wider than the gap factor times their median
// spacing (a factor of -1 takes the host's own). Points given with a direction each (entries of six doubles)
// carry the probe's direction there, toward the material: the fitter runs each polyline with the material to
// its right, so that a negative offset moves a curve of tip centres onto the material.
class IPlanarCurveFitter : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IPlanarCurveFitter";
  // How the polylines close: as their ends say, never, always.
  enum Connectivity : int32_t { kClosed = 0, kOpen = 1, kAuto = 2 };

  // The plane n·p = d as (nx, ny, nz, d); the fitter keeps its own copy of the points.
  virtual bool setup(const double plane[4], RealPArray* points, int32_t connectivity, double gapFactor) = 0;
  // Fits a curve through each polyline, moved in the plane by offset (to the left of the polyline's
  // direction, seen from the normal's side, for a positive offset). The new set (the caller holds a
  // reference), or null when no polyline could carry a curve.
  virtual ICurveSet* fit(ICurveFitData* data, double offset) = 0;
  // The polylines of the last setup, from 1; without a reference for the caller, valid until the next setup.
  virtual int32_t polylineCount() = 0;
  virtual RealPArray* polyline(int32_t index) = 0;
};
