#include "feature_fields.h"

#include <cstdio>
#include <utility>

#include "framework/object/query_part.h"
#include "host/core/zel_id_text.h"
#include "host_api/feature_kinds.h"

namespace {

std::string field(const char* label, double value) {
  return std::string(label) + " " + sixDigits(value);
}

std::string field(const char* label, const Vector3& v) {
  return std::string(label) + " " + vectorText(v);
}

std::vector<std::string> slotFields(IZelSlotOutline& slot) {
  return {field("centre", slot.center()), field("axis", slot.axis()), field("length", slot.length()),
          field("width", slot.width())};
}

// The more special kind first, as the feature types are found.
std::vector<std::string> pointFields(IZelUnknown* object) {
  if (auto* target = queryPart<IZelTargetPoint>(object)) {
    double xyz[3];
    target->position(xyz);
    return {field("position", {xyz[0], xyz[1], xyz[2]}), field("direction", target->direction()),
            field("size", target->size())};
  }
  if (auto* point = queryPart<IZelPoint>(object)) {
    double xyz[3];
    point->position(xyz);
    return {field("position", {xyz[0], xyz[1], xyz[2]})};
  }
  return {};
}

std::vector<std::string> surfaceFields(IZelUnknown* object) {
  if (auto* planes = queryPart<IZelParallelPlanes>(object)) {
    Vector3 midPoint, normal, reference, low, high;
    double distance = 0.0;
    planes->planes(midPoint, normal, reference, distance, low, high);
    return {field("centre", midPoint), field("normal", normal), field("distance", distance)};
  }
  if (auto* plane = queryPart<IZelPlane>(object))
    return {field("centre", plane->center()), field("normal", plane->normal())};
  if (auto* line = queryPart<IZelLine>(object))
    return {field("start", line->start()), field("end", line->end())};
  if (auto* arc = queryPart<IZelArc>(object)) {
    return {field("centre", arc->center()), field("normal", arc->normal()), field("radius", arc->radius())};
  }
  if (auto* sphere = queryPart<IZelSphere>(object))
    return {field("centre", sphere->center()), field("radius", sphere->radius())};
  return {};
}

std::vector<std::string> axialFields(IZelUnknown* object) {
  if (auto* cylinder = queryPart<IZelCylinder>(object)) {
    return {field("start", cylinder->firstEnd()), field("end", cylinder->secondEnd()),
            field("axis", cylinder->axisDirection()), field("radius", cylinder->radius())};
  }
  if (auto* cone = queryPart<IZelCone>(object)) {
    return {field("start", cone->endA()),         field("end", cone->endB()),
            field("axis", cone->axisDirection()), field("start radius", cone->radiusA()),
            field("end radius", cone->radiusB()), field("half-angle", cone->halfAngle())};
  }
  if (auto* rounded = queryPart<IZelRoundedSlot>(object)) {
    std::vector<std::string> fields = slotFields(*rounded);
    fields.push_back(field("corner diameter", rounded->cornerDiameter()));
    return fields;
  }
  if (auto* slot = queryPart<IZelRectangularSlot>(object)) return slotFields(*slot);
  if (auto* slot = queryPart<IZelOvalSlot>(object)) return slotFields(*slot);
  return {};
}

template <class T>
T* entry(IZelParameterTable* table, const char16_t* name) {
  return table ? queryPart<T>(table->getParameter(ZelString(name))) : nullptr;
}

}  // namespace

// A negative zero, which a reversed direction leaves, reads as 0.
std::string sixDigits(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value == 0.0 ? 0.0 : value);
  return text;
}

std::string vectorText(const Vector3& v) {
  return "(" + sixDigits(v.x) + ", " + sixDigits(v.y) + ", " + sixDigits(v.z) + ")";
}

std::vector<std::string> definingFields(IZelFeature& feature) {
  IZelUnknown* object = feature.object();
  for (auto fields : {pointFields, surfaceFields, axialFields}) {
    std::vector<std::string> found = fields(object);
    if (!found.empty()) return found;
  }
  return {};
}

std::vector<std::string> probingFields(IZelFeature& feature) {
  auto* record = queryPart<IZelParameterTable>(feature.getParameter(ZelString(u"<ProbeConstruction>")));
  std::vector<std::string> fields;
  if (auto* creator = entry<IZelIDValue>(record, u"<ZelID>"))
    fields.push_back("creator " + canonicalText(creator->value()));
  auto* parameters = entry<IZelParameterTable>(record, u"<Parameters>");
  if (auto* sampled = entry<IZelVectorsValue>(parameters, u"<SampledPoints>"))
    fields.push_back("points " + std::to_string(sampled->count()));
  return fields;
}

std::vector<std::string> pointSetFields(IZelPoints& points) {
  const int32_t count = points.pointCount();
  std::vector<std::string> fields = {"points " + std::to_string(count)};
  double xyz[3];
  for (auto [label, index] : {std::pair{"first", 1}, std::pair{"last", count}}) {
    if (count > 0 && points.pointAt(index, xyz))
      fields.push_back(field(label, Vector3{xyz[0], xyz[1], xyz[2]}));
  }
  return fields;
}
