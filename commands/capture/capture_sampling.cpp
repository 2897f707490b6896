#include "commands/capture/capture_sampling.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "framework/object/iptr.h"
#include "framework/translation/tr.h"
#include "host_api/gui_busy_block.h"
#include "host_api/point_uniform_sampler.h"

namespace {

// Shows the host's busy indication for the life of the scope.
class BusyScope {
 public:
  explicit BusyScope(const ZelString& text) {
    if (busy_) busy_->begin(text);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  ~BusyScope() {
    if (busy_) busy_->end();
  }

 private:
  SPtr<IGuiBusyBlock> busy_;
};

// Opens a closed point set for the life of the scope; one already open stays as it is.
class OpenScope {
 public:
  explicit OpenScope(IZelPoints& points) : points_(points), opened_(points.state() == 0) {
    if (opened_) points_.open();
  }
  OpenScope(const OpenScope&) = delete;
  OpenScope& operator=(const OpenScope&) = delete;
  ~OpenScope() {
    if (opened_) points_.close();
  }

 private:
  IZelPoints& points_;
  const bool opened_;
};

double extentOf(IZelPoints& points) {
  double min[3] = {FLT_MAX, FLT_MAX, FLT_MAX};
  double max[3] = {-FLT_MAX, -FLT_MAX, -FLT_MAX};
  points.extendBox(min, max, true);
  return std::max({std::fabs(max[0] - min[0]), std::fabs(max[1] - min[1]), std::fabs(max[2] - min[2])});
}

}  // namespace

bool samplePoints(IZelPoints* points, double spacing) {
  if (!points || !(spacing > 0)) return false;
  BusyScope busy(tr("Sampling..."));
  OpenScope open(*points);
  const double extent = extentOf(*points);
  // A zero extent (coincident points) gives an infinite relative spacing, which the sampler takes as "keep
  // one point", rather than a division by zero.
  const double relativeSpacing = extent > 0 ? spacing / extent : HUGE_VAL;
  SPtr<IPointUniformSampler> sampler;
  if (!sampler) return false;
  sampler->setPoints(points);
  sampler->setRelativeSpacing(relativeSpacing);
  sampler->run();
  return true;
}
