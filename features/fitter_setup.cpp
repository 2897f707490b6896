#include "features/fitter_setup.h"

#include <string>

#include "basic_types/bit_vector.h"
#include "framework/object/host_lookup.h"
#include "host_api/registry_paths.h"

namespace {

// The initial size of a selection's bit vector; it grows to the point count.
constexpr int32_t kSelectionBits = 10;

}  // namespace

IPtr<IZelFeatureFitter> setRobustFitIterations(const char* featureType) {
  const std::string path = std::string(kBestFitFitterPath) + featureType;
  RegPtr<IZelFeatureFitter> fitter{ZelCString(path.c_str())};
  if (!fitter) return {};
  SPtr<IZelIntValue> iterations;
  if (iterations) {
    iterations->setValue(0);
    fitter->setParameter(ZelString(u"<Robust Fit Iterations>"), iterations.get());
  }
  return fitter;
}

void setFitSelection(IZelFeatureFitter& fitter, IZelPointSetInterface* points) {
  BitVector all(kSelectionBits);
  all.setFirst(points ? points->pointCount() : 0);
  SPtr<IZelBitVectorArray> selection;
  fitter.setPointSet(points);
  if (!selection) return;
  selection->append(all);
  fitter.setParameter(ZelString(u"<Selection>"), selection.get());
}

void setFitWorkPlane(IZelFeatureFitter& fitter, IZelPlane* plane) {
  if (plane) {
    SPtr<IZelVectorsValue> pointAndNormal;
    if (pointAndNormal) {
      const Vector3 point = plane->center();
      ZelCountedArray<Vector3> vectors(ZelCountedArray<Vector3>::ItemCount{2});
      vectors.append(point);
      vectors.append(plane->normal());
      pointAndNormal->setValue(vectors);
      fitter.setParameter(ZelString(u"<WorkPlane>"), pointAndNormal.get());
    }
  }
  SPtr<IZelIntValue> justBoundary;
  if (!justBoundary) return;
  justBoundary->setValue(1);
  fitter.setParameter(ZelString(u"<JustBoundary>"), justBoundary.get());
}
