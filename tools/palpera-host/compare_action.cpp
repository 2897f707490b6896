#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "document_object.h"
#include "feature_comparison.h"
#include "host/core/field_escape.h"
#include "platform/utf8.h"
#include "script_actions.h"
#include "shown_word.h"

namespace {

// Whole nanometres (or nanoradians): the last digits of a fit are the arithmetic's, not the part's, and would
// differ from one build to the next.
std::string differenceText(const ComparedValue& value) {
  double rounded = std::round(value.difference * 1e9) / 1e9;
  if (rounded == 0.0) rounded = 0.0;  // no negative zero
  char text[48];
  std::snprintf(text, sizeof text, "%.9f %s", rounded, value.angle ? "rad" : "m");
  return text;
}

// The feature of that name among the object's, or null.
IZelFeature* featureNamed(HostDocObject& object, const std::u16string& name) {
  for (const auto& sub : object.featureSubObjects().subObjects()) {
    if (sub->nameText() == name) return sub->shownFeature();
  }
  return nullptr;
}

// Where the object's own coordinates stand in the world: the identity for an object never moved.
Matrix4x4 worldTransformOf(HostDocObject& object) {
  Matrix4x4 toWorld;
  object.transform(toWorld.m);
  return toWorld;
}

}  // namespace

// name; then value, fitted, nominal, difference: each feature of the object beside the nominal object's
// feature of the same name, both where their objects stand in the world.
void compareFeatures(HostSession& session, const ScriptWords& words) {
  HostDocument& doc = session.host.document().doc();
  IPtr<HostDocObject> probed = objectNamed(doc, words[0]);
  IPtr<HostDocObject> nominals = objectNamed(doc, words[1]);
  const auto probedFeatures = probed->featureSubObjects().subObjects();
  const Matrix4x4 probedToWorld = worldTransformOf(*probed);
  const Matrix4x4 nominalToWorld = worldTransformOf(*nominals);
  if (probedFeatures.empty()) throw ScriptError(shownWord(words[0]) + " holds no feature to compare");
  // Every feature is matched before a line is printed, so a script that fails prints no half table.
  std::string table = "\tvalue\tfitted\tnominal\tdifference\n";
  for (const auto& sub : probedFeatures) {
    const std::u16string name = sub->nameText();
    const std::string shown = escapeField(platform::toUtf8(name));
    IZelFeature* nominal = featureNamed(*nominals, name);
    if (!nominal) throw ScriptError(shownWord(words[1]) + " has no feature " + shownWord(shown));
    IZelFeature* fitted = sub->shownFeature();
    std::optional<std::vector<ComparedValue>> values;
    if (fitted) values = compareWithNominal({*fitted, probedToWorld}, {*nominal, nominalToWorld});
    if (!values) throw ScriptError("cannot compare " + shownWord(shown) + " with its nominal feature");
    table += shown + "\n";
    for (const ComparedValue& value : *values)
      table += "\t" + value.label + "\t" + value.fitted + "\t" + value.nominal + "\t" +
               differenceText(value) + "\n";
  }
  std::fputs(table.c_str(), stdout);
}
