#pragma once

// Keeps the probed points of one probing run in view: they go into a hidden point object (by default
// "points"), and from the third point on, a point outside the view refits the view once to every object with
// the points, zoomed out a little. The object leaves the document with the frame. Main thread only.

#include <vector>

#include "basic_types/vector3.h"
#include "framework/object/iptr.h"
#include "host_api/points.h"
#include "host_api/zel_doc.h"

class ProbedPointsFrame {
 public:
  explicit ProbedPointsFrame(const ZelString& name = ZelString(u"points"));
  ProbedPointsFrame(const ProbedPointsFrame&) = delete;
  ProbedPointsFrame& operator=(const ProbedPointsFrame&) = delete;
  ~ProbedPointsFrame();

  void addPoint(const Vector3& point);
  // Takes the newest point back; nothing when there is none.
  void removeLastPoint();
  // The object holds exactly points from now on (the points of the face being probed).
  void showPoints(const std::vector<Vector3>& points);

 private:
  void keepInView(RealPArray& array);
  void refit();

  IPtr<IZelDocObject> points_;
};

// Fits the view to every shown object and zooms out to 1 / 0.7 of it, so what was fitted has room around it.
void fitViewWithRoom();
