#include "host/cad/kernel/step_units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/cad/brep_model.h"

namespace {

struct Prefix {
  std::string_view name;
  double factor;
};
constexpr std::array<Prefix, 16> kPrefixes{{{"EXA", 1e18},
                                            {"PETA", 1e15},
                                            {"TERA", 1e12},
                                            {"GIGA", 1e9},
                                            {"MEGA", 1e6},
                                            {"KILO", 1e3},
                                            {"HECTO", 1e2},
                                            {"DECA", 1e1},
                                            {"DECI", 1e-1},
                                            {"CENTI", 1e-2},
                                            {"MILLI", 1e-3},
                                            {"MICRO", 1e-6},
                                            {"NANO", 1e-9},
                                            {"PICO", 1e-12},
                                            {"FEMTO", 1e-15},
                                            {"ATTO", 1e-18}}};

// The items that make a representation one of the part's own shape, as against its placements or notes.
constexpr std::array<std::string_view, 9> kShapeItems{"MANIFOLD_SOLID_BREP",
                                                      "BREP_WITH_VOIDS",
                                                      "FACETED_BREP",
                                                      "SHELL_BASED_SURFACE_MODEL",
                                                      "FACE_BASED_SURFACE_MODEL",
                                                      "CLOSED_SHELL",
                                                      "OPEN_SHELL",
                                                      "ADVANCED_FACE",
                                                      "FACE_SURFACE"};

// The last count values of a record, which a subtype's own record follows its supertypes' with; none when
// it has fewer.
const StepValue* lastValues(const StepRecord* record, size_t count) {
  if (!record || record->values.size() < count) return nullptr;
  return &record->values[record->values.size() - count];
}

bool isUnit(const StepEntity& entity) {
  return std::any_of(entity.records.begin(), entity.records.end(), [](const StepRecord& r) {
    return r.name.size() >= 5 && r.name.compare(r.name.size() - 5, 5, "_UNIT") == 0;
  });
}

// A kind of unit a context declares: its record, the SI unit it comes down to, and how the messages say it.
struct Quantity {
  std::string_view record;  // "LENGTH_UNIT"
  std::string_view si;      // "METRE"
  std::string_view siName;  // "metre"
  std::string_view kind;    // "length"
  // The largest unit of this kind the host takes, in SI units, and what it is.
  double largest;
  std::string_view largestName;
};
// An angle unit larger than a turn is no unit a part's angles are given in: such a "degree" turns every
// angle of the part into many turns, and the kernel drops the faces it can no longer build.
constexpr Quantity kLength{"LENGTH_UNIT", "METRE", "metre", "length", HUGE_VAL, "any"};
constexpr Quantity kPlaneAngle{"PLANE_ANGLE_UNIT",   "RADIAN",      "radian", "plane angle",
                               2 * M_PI*(1 + 1e-12), "a whole turn"};

bool isUnitOf(const StepEntity& entity, const Quantity& quantity) {
  if (entity.record(quantity.record)) return true;
  const StepValue* si = lastValues(entity.record("SI_UNIT"), 2);
  return si && si[1].kind == StepValue::Kind::enumeration && si[1].word == quantity.si;
}

// The positive finite number a measure's value component holds, typed (LENGTH_MEASURE(25.4)) or not.
std::optional<double> positiveNumber(const StepValue& value) {
  const StepValue* number = &value;
  if (value.kind == StepValue::Kind::typed && value.values.size() == 1) number = &value.values[0];
  if (number->kind != StepValue::Kind::number) return std::nullopt;
  if (!std::isfinite(number->number) || !(number->number > 0)) return std::nullopt;
  return number->number;
}

class UnitReader {
 public:
  UnitReader(const StepText& text, const std::string& what) : text_(text), what_(what) {}

  // The length and plane angle units of a context; none of a kind it does not declare.
  StepContextUnits contextUnits(uint64_t context, uint64_t referrer) const {
    const StepEntity entity = need(context, referrer);
    const StepValue* units = lastValues(entity.record("GLOBAL_UNIT_ASSIGNED_CONTEXT"), 1);
    if (!units || units->kind != StepValue::Kind::list) return {};
    for (const StepValue& item : units->values) {
      if (item.kind == StepValue::Kind::reference && !isUnit(need(item.reference, context)))
        refuse(entityName(item.reference) + ", listed as a unit by " + entityName(context) +
               ", is not a unit");
    }
    return {contextUnit(context, *units, kLength), contextUnit(context, *units, kPlaneAngle)};
  }

  [[noreturn]] void refuse(const std::string& reason) const { throw CadFileError(what_, reason); }

  StepEntity need(uint64_t label, uint64_t referrer) const {
    std::optional<StepEntity> entity = text_.entity(label);
    if (!entity)
      refuse(entityName(referrer) + " refers to " + entityName(label) + ", which the file does not hold");
    return std::move(*entity);
  }

 private:
  // The one unit of that kind among a context's units.
  std::optional<StepUnit> contextUnit(uint64_t context, const StepValue& units,
                                      const Quantity& quantity) const {
    std::optional<std::pair<uint64_t, StepUnit>> found;
    for (const StepValue& item : units.values) {
      if (item.kind != StepValue::Kind::reference || !isUnitOf(need(item.reference, context), quantity))
        continue;
      StepUnit unit = unitOf(item.reference, context, quantity);
      if (found && found->first != item.reference && found->second.size != unit.size) {
        refuse(entityName(context) + " declares two " + std::string(quantity.kind) +
               " units: " + entityName(found->first) + " (" + found->second.name + ") and " +
               entityName(item.reference) + " (" + unit.name + ")");
      }
      if (!found) found.emplace(item.reference, std::move(unit));
    }
    if (!found) return std::nullopt;
    return found->second;
  }

  // Follows a unit through the units it is defined by, down to the SI unit of its kind.
  StepUnit unitOf(uint64_t label, uint64_t referrer, const Quantity& quantity) const {
    const uint64_t first = label;
    StepUnit unit{"", 1};
    std::unordered_set<uint64_t> passed;
    for (;;) {
      if (!passed.insert(label).second) refuse(entityName(label) + " is defined through itself");
      const StepEntity entity = need(label, referrer);
      if (const StepValue* si = lastValues(entity.record("SI_UNIT"), 2)) {
        unit.size *= siSize(label, si, quantity, unit.name);
        break;
      }
      const StepValue* converted = lastValues(entity.record("CONVERSION_BASED_UNIT"), 2);
      if (!converted || converted[1].kind != StepValue::Kind::reference) refuse(notOf(label, quantity));
      if (unit.name.empty()) unit.name = converted[0].word;
      referrer = converted[1].reference;
      label = conversion(referrer, label, unit.size);
    }
    if (!std::isfinite(unit.size) || !(unit.size > 0)) refuse(badFactor(first));
    if (unit.size > quantity.largest)
      refuse(entityName(first) + " is a " + std::string(quantity.kind) + " unit of " + shortest(unit.size) +
             " " + std::string(quantity.siName) + "s, larger than " + std::string(quantity.largestName));
    return unit;
  }

  // Multiplies size by the measure's factor and answers the unit the measure is given in.
  uint64_t conversion(uint64_t measure, uint64_t unit, double& size) const {
    const StepEntity entity = need(measure, unit);
    const StepRecord* record = nullptr;
    for (const StepRecord& r : entity.records) {
      if (r.values.size() >= 2 && r.name.find("MEASURE_WITH_UNIT") != std::string::npos) record = &r;
    }
    const StepValue* components = lastValues(record, 2);
    if (!components) refuse(entityName(measure) + " is not a measure with a unit");
    const std::optional<double> factor = positiveNumber(components[0]);
    if (!factor) refuse(badFactor(measure));
    if (components[1].kind != StepValue::Kind::reference) refuse(entityName(measure) + " names no unit");
    size *= *factor;
    return components[1].reference;
  }

  // The SI unit's size in its kind's SI unit; it names the unit when it is the first of the chain.
  double siSize(uint64_t label, const StepValue* si, const Quantity& quantity, std::string& name) const {
    if (si[1].kind != StepValue::Kind::enumeration || si[1].word != quantity.si)
      refuse(notOf(label, quantity));
    double factor = 1;
    std::string prefix;
    if (si[0].kind == StepValue::Kind::enumeration) {
      const auto known = std::find_if(kPrefixes.begin(), kPrefixes.end(),
                                      [&](const Prefix& p) { return p.name == si[0].word; });
      if (known == kPrefixes.end())
        refuse(entityName(label) + " has the unknown prefix '" + si[0].word + "'");
      factor = known->factor;
      prefix = si[0].word;
    } else if (si[0].kind != StepValue::Kind::omitted) {
      refuse(notOf(label, quantity));
    }
    if (name.empty()) {
      for (char& c : prefix) c = static_cast<char>(c - 'A' + 'a');
      name = prefix + std::string(quantity.siName);
    }
    return factor;
  }

  static std::string notOf(uint64_t label, const Quantity& quantity) {
    return entityName(label) + " is not a unit of " + std::string(quantity.kind);
  }

  static std::string badFactor(uint64_t label) {
    return entityName(label) + " gives a conversion factor that is not a positive finite number";
  }

  const StepText& text_;
  const std::string& what_;
};

// A shape representation's context, and whether it holds the part's own shape.
struct Representation {
  uint64_t label = 0;
  uint64_t context = 0;
  bool holdsShape = false;
};

std::optional<Representation> representation(const StepText& text, const UnitReader& reader, uint64_t label) {
  const StepEntity entity = reader.need(label, label);
  const StepRecord* record = entity.record("REPRESENTATION");
  if (!lastValues(record, 3)) record = entity.record("SHAPE_REPRESENTATION", true);
  const StepValue* values = lastValues(record, 3);
  if (!values || values[2].kind != StepValue::Kind::reference) return std::nullopt;
  Representation found{label, values[2].reference, false};
  for (const StepValue& item : values[1].values) {
    if (item.kind != StepValue::Kind::reference) continue;
    const std::optional<StepEntity> shape = text.entity(item.reference);
    found.holdsShape = shape && std::any_of(kShapeItems.begin(), kShapeItems.end(),
                                            [&](std::string_view name) { return shape->record(name); });
    if (found.holdsShape) break;
  }
  return found;
}

void addOnce(std::vector<std::string>& names, const std::string& name) {
  if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

}  // namespace

StepUnits readLengthUnits(const StepText& text, const std::string& what) {
  const UnitReader reader(text, what);
  std::vector<Representation> representations;
  for (uint64_t label : text.shapeRepresentations()) {
    if (std::optional<Representation> found = representation(text, reader, label))
      representations.push_back(*found);
  }
  // A file whose representations hold no shape the host knows still gets the units of all of them.
  const bool anyShape = std::any_of(representations.begin(), representations.end(),
                                    [](const Representation& r) { return r.holdsShape; });
  StepUnits units;
  std::vector<std::string> names;
  for (const Representation& r : representations) {
    const StepContextUnits declared = reader.contextUnits(r.context, r.label);
    if (declared.length || declared.planeAngle) units.contexts[r.context] = declared;
    if (anyShape && !r.holdsShape) continue;
    addOnce(names, declared.length ? declared.length->name : "none");
    units.metresAssumed = units.metresAssumed || !declared.length;
  }
  if (names.empty()) {
    names.push_back("none");
    units.metresAssumed = true;
  }
  for (const std::string& name : names) units.solidUnits += (units.solidUnits.empty() ? "" : ", ") + name;
  return units;
}
