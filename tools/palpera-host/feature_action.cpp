#include <string>
#include <utility>
#include <vector>

#include "document_object.h"
#include "host/core/data_item_text.h"
#include "host/document/features/host_arc.h"
#include "host/document/features/host_cone.h"
#include "host/document/features/host_cylinder.h"
#include "host/document/features/host_line.h"
#include "host/document/features/host_plane.h"
#include "host/document/features/host_point.h"
#include "host/document/features/host_sphere.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "script_numbers.h"
#include "shown_word.h"

namespace {

using Numbers = std::vector<double>;

Vector3 vectorAt(const Numbers& n, size_t first) {
  return {n[first], n[first + 1], n[first + 2]};
}

// The made feature when it took its numbers.
IPtr<HostFeature> kept(HostFeature* made, bool taken = true) {
  return taken ? IPtr<HostFeature>(made) : IPtr<HostFeature>();
}

// A size or a direction that no measured feature has is a typing error: the line is refused with the
// reason rather than a feature made that nothing can probe.
double radiusAt(const Numbers& n, size_t at, const char* name) {
  if (!(n[at] > 0.0))
    throw ScriptError(std::string("the radius ") + name + " must be above 0, not " + doubleText(n[at]));
  return n[at];
}

Vector3 directionAt(const Numbers& n, size_t at, const char* what) {
  const Vector3 direction = vectorAt(n, at);
  if (direction.length() == 0.0) throw ScriptError(std::string("the ") + what + " must not be zero");
  return direction;
}

// The ends of a line or an axis, which must be two points.
std::pair<Vector3, Vector3> endsOf(const Numbers& n, const char* what) {
  const Vector3 first = vectorAt(n, 0), second = vectorAt(n, 3);
  if ((second - first).length() == 0.0) throw ScriptError(std::string("the ") + what + " ends must differ");
  return {first, second};
}

// Each maker sets a new feature from its numbers through the feature's own setters, so a value the feature
// refuses is refused here too; it answers null then.
IPtr<HostFeature> point(const Numbers& n) {
  IPtr<HostPoint> made(new HostPoint);
  made->setPosition(n[0], n[1], n[2]);
  return kept(made.get());
}

IPtr<HostFeature> plane(const Numbers& n) {
  IPtr<HostPlane> made(new HostPlane);
  return kept(made.get(), made->setPlane(vectorAt(n, 0), directionAt(n, 3, "normal"), kXAxis, 0, 0));
}

IPtr<HostFeature> line(const Numbers& n) {
  IPtr<HostLine> made(new HostLine);
  const auto [start, end] = endsOf(n, "line's");
  made->setLine(start, end, 0, 0);
  return kept(made.get());
}

IPtr<HostFeature> circle(const Numbers& n) {
  IPtr<HostArc> made(new HostArc);
  made->setCenter(vectorAt(n, 0));
  made->setRadius(radiusAt(n, 6, "R"));
  return kept(made.get(), made->setNormal(directionAt(n, 3, "normal")));
}

IPtr<HostFeature> sphere(const Numbers& n) {
  IPtr<HostSphere> made(new HostSphere);
  made->setCenter(vectorAt(n, 0));
  made->setRadius(radiusAt(n, 3, "R"));
  return kept(made.get());
}

IPtr<HostFeature> cylinder(const Numbers& n) {
  IPtr<HostCylinder> made(new HostCylinder);
  const auto [start, end] = endsOf(n, "axis");
  return kept(made.get(), made->redefine(start, end, radiusAt(n, 6, "R"), kXAxis, nullptr, nullptr, nullptr));
}

// A cone may come to its apex at one end, so one radius may be 0; both may not, nor a negative one.
IPtr<HostFeature> cone(const Numbers& n) {
  IPtr<HostCone> made(new HostCone);
  const auto [start, end] = endsOf(n, "axis");
  if (n[6] < 0.0 || n[7] < 0.0 || (n[6] == 0.0 && n[7] == 0.0)) {
    throw ScriptError("the radii R0 and R1 must not be negative, and one must be above 0, not " +
                      doubleText(n[6]) + " and " + doubleText(n[7]));
  }
  return kept(made.get(), made->redefine(start, end, n[6], n[7], kXAxis, nullptr, nullptr, nullptr));
}

struct ScriptFeatureKind {
  const char* word;
  const char* numbers;  // as the error names them
  size_t count;
  IPtr<HostFeature> (*make)(const Numbers& numbers);
};

constexpr ScriptFeatureKind kKinds[] = {
    {"point", "X Y Z", 3, point},
    {"plane", "CX CY CZ NX NY NZ", 6, plane},
    {"line", "X0 Y0 Z0 X1 Y1 Z1", 6, line},
    {"circle", "CX CY CZ NX NY NZ R", 7, circle},
    {"sphere", "CX CY CZ R", 4, sphere},
    {"cylinder", "X0 Y0 Z0 X1 Y1 Z1 R", 7, cylinder},
    {"cone", "X0 Y0 Z0 X1 Y1 Z1 R0 R1", 8, cone},
};

const ScriptFeatureKind& kindOf(const std::string& word) {
  for (const ScriptFeatureKind& kind : kKinds) {
    if (word == kind.word) return kind;
  }
  throw ScriptError(shownWord(word) +
                    " is no feature kind (point, plane, line, circle, sphere, cylinder, cone)");
}

}  // namespace

// A feature is named as the module names a new one: its kind's display name and the next running number.
void addFeature(HostSession& session, const ScriptWords& words) {
  const ScriptFeatureKind& kind = kindOf(words[1]);
  if (words.size() - 2 != kind.count) {
    throw ScriptError(std::string("a ") + kind.word + " takes " + std::to_string(kind.count) +
                      " numbers: " + kind.numbers);
  }
  Numbers numbers;
  for (size_t i = 2; i < words.size(); ++i) numbers.push_back(numberWord(words[i]));
  IPtr<HostFeature> feature = kind.make(numbers);
  if (!feature) throw ScriptError(std::string("the ") + kind.word + " refused these numbers");
  IPtr<HostDocObject> object = objectNamed(session.host.document().doc(), words[0]);
  HostFeatureSubObjectMgr& features = object->featureSubObjects();
  IZelFeatureType* type = session.host.document().featureTypes().featureType(feature.get());
  features.updateRunningNumber(type->classId());
  IPtr<IZelFeatureSubObject> shown;
  shown.takeOwnership(features.createSubObject(feature.get()));
  const std::u16string name = std::u16string(type->displayName().c_str()) + u" " +
                              platform::fromUtf8(std::to_string(features.runningNumber(type->classId())));
  ZelString text;
  text.setBuffer(name.c_str(), -1);
  shown->setName(text);
  features.addSubObject(shown.get());
}
