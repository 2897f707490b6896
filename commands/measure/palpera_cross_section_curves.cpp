// The curves of "Probe Sections": a planar curve fitted through each section, written as "Curve" objects.

#include <algorithm>
#include <vector>

#include "commands/measure/palpera_cross_section_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/data_store.h"
#include "host_api/zel_curves.h"
#include "host_api/zel_object_extras.h"

namespace {

constexpr const char* kGapFactorKey = "Zarodoveze/PolyBuilderGapFactor";
// The fitter's own gap factor.
constexpr double kDefaultGapFactor = -1.0;
// An entry of a point and a direction.
constexpr int32_t kPointWithDirection = 6;

// One section's fit: its curves, if any, and the polylines they were fitted through.
struct SectionFit {
  IPtr<ICurveSet> curves;
  std::vector<IPtr<RealPArray>> polylines;
};

double gapFactor() {
  SPtr<IDataStore> data;
  if (!data) return kDefaultGapFactor;
  double minimum = 0, maximum = 0;
  bool known = false;
  data->getRange(kGapFactorKey, &minimum, &maximum, &known);
  return known ? data->getDouble(kGapFactorKey, kDefaultGapFactor) : kDefaultGapFactor;
}

// The section's points, each followed by the probe's direction there, as the fitter takes them to tell the
// side of the material; the points alone when the directions are not known for every one.
IPtr<RealPArray> pointsWithApproaches(RealPArray* points, const std::vector<Vector3>& approaches) {
  SPtr<IRealPArrayFactory> arrays;
  if (!arrays || static_cast<size_t>(points->count()) != approaches.size()) return IPtr<RealPArray>(points);
  IPtr<RealPArray> combined;
  combined.takeOwnership(arrays->createArray(kPointWithDirection, points->count()));
  if (!combined || combined->entryWidth() != kPointWithDirection) return IPtr<RealPArray>(points);
  for (int32_t i = 1; i <= points->count(); ++i) {
    const double* p = points->at(i);
    const Vector3& a = approaches[static_cast<size_t>(i - 1)];
    const double entry[kPointWithDirection] = {p[0], p[1], p[2], a.x, a.y, a.z};
    combined->append(entry);
  }
  return combined;
}

SectionFit fitSection(const SectionData& section, const std::vector<Vector3>& approaches,
                      int32_t connectivity, double gaps, ICurveFitData* data, double offset) {
  SectionFit fit;
  SPtr<IPlanarCurveFitter> fitter;
  if (!fitter) return fit;
  const IPtr<RealPArray> points = pointsWithApproaches(section.pointArray(), approaches);
  if (!fitter->setup(section.plane().data(), points.get(), connectivity, gaps)) return fit;
  fit.curves.takeOwnership(fitter->fit(data, offset));
  for (int32_t i = 1; i <= fitter->polylineCount(); ++i) fit.polylines.emplace_back(fitter->polyline(i));
  return fit;
}

IPtr<IZelCurveSet> holderOf(ICurveSet* curves) {
  SPtr<IZelCurveSet> holder;
  if (holder && curves) holder->setCurveSet(curves);
  return IPtr<IZelCurveSet>(holder.get());
}

// A "Curve" object of that name holding the set, or none.
IPtr<IZelDocObject> buildCurveObject(const ZelString& name, IZelCurveSet* curves) {
  SPtr<IZelObjectBuilder> builder;
  IPtr<IZelDocObject> object;
  if (!builder || !builder->beginObject("Curve", name, false)) return object;
  builder->addData(curves);
  object.takeOwnership(builder->endObject(true));
  return object;
}

void markAsSketch(IZelDocObject* object) {
  if (auto* values = queryPart<IZelStringValue>(object)) {
    values->setStringValue("ActiveIconOverride", ZelString(u"tf_sketch"));
    values->setStringValue("InactiveIconOverride", ZelString(u"tf_sketch_inactive"));
  }
  if (auto* state = queryPart<IZelObjectState>(object)) state->setState("newState");
}

ZelString pattern(const char16_t* text, const ZelString& first, const ZelString& second) {
  const ZelString* args[] = {&first, &second};
  return ZelString(text).substituteArgs(args, 2);
}

}  // namespace

void PalperaCrossSectionCmd::makeCurves() {
  if (!curvePanel_ || !gui_) return;
  using Panel = FitCrossSectionPointsWidget;
  ZelString curveName;
  gui_->getControlText(curvePanel_->id(Panel::kName), curveName);
  bool multiple = checked(curvePanel_->id(Panel::kMultipleCurveObjects));
  const double offset = value(curvePanel_->id(Panel::kOffset)) * (curvePanel_->flipOffset() ? 1.0 : -1.0);
  const int32_t connectivity = 2 - gui_->listSelection(curvePanel_->id(Panel::kConnectivity));
  SPtr<ICurveFitData> data;
  if (data) curvePanel_->fillCurveFitData(data.get());
  const double gaps = gapFactor();

  std::vector<SectionFit> fits;
  for (size_t i = 0; i < sections_.size(); ++i) {
    // A section whose points moved into a point object has no points of its own left to fit.
    if (sectionWritten_[i] || !sections_[i]->pointArray()) continue;
    fits.push_back(fitSection(*sections_[i], approaches_[i],
                              connectivity >= 0 && connectivity <= 2 ? connectivity : 2, gaps, data.get(),
                              offset));
  }
  const auto fitted =
      std::ranges::count_if(fits, [](const SectionFit& fit) { return fit.curves.get() != nullptr; });
  if (fitted == 0) return;
  multiple = multiple && fitted > 1;
  const bool single = fitted == 1;

  std::vector<IPtr<IZelCurveSet>> sets;
  if (multiple) {
    for (const SectionFit& fit : fits) sets.push_back(holderOf(fit.curves.get()));
    curveGroup_ = createGroupInCurrentPhase(curveName);
  } else {
    SPtr<ICurveSet> combined;
    for (const SectionFit& fit : fits) {
      if (combined && fit.curves) combined->append(fit.curves.get());
    }
    sets.push_back(holderOf(combined.get()));
  }
  const bool sketch =
      (single || multiple) && gui_->listSelection(curvePanel_->id(Panel::kCurveType)) == Panel::kLineArc;
  for (size_t j = 0; j < sets.size(); ++j) {
    ICurveSet* curves = sets[j] ? sets[j]->curveSet() : nullptr;
    if (!curves || curves->curveCount() < 1) continue;
    ZelString name =
        multiple ? pattern(u"%1-%2", curveName, ZelString::number(static_cast<int32_t>(j + 1))) : curveName;
    if (sketch) name = pattern(u"%1 %2", ZelString(u"SKETCH: "), name);
    IPtr<IZelDocObject> object = buildCurveObject(name, sets[j].get());
    if (!object) continue;
    curveObjects_.push_back(object);
    if (sketch) markAsSketch(object.get());
    if ((single || multiple) && fits.size() == sets.size()) {
      if (auto* list = queryPart<IZelObjectList>(object->subObject("CurveBySectionPolylines"))) {
        for (const IPtr<RealPArray>& polyline : fits[j].polylines) list->add(polyline.get());
      }
    }
    if (curveGroup_) object->setGroup(curveGroup_.get());
  }
}
