#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "alignment_lines.h"
#include "dialog_fields.h"
#include "feature_fields.h"
#include "framework/object/query_part.h"
#include "host/core/data_item_text.h"
#include "host/core/field_escape.h"
#include "host/document/host_document.h"
#include "host_api/zel_curves.h"
#include "host_api/zel_object_extras.h"
#include "platform/utf8.h"
#include "regular_file.h"
#include "scene_lines.h"
#include "script_actions.h"
#include "settings_action.h"
#include "shown_word.h"

namespace {

// One line of tab-separated fields; texts that come from the module are escaped so a field stays one field.
void printFields(const std::vector<std::string>& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) line += (i ? "\t" : "") + fields[i];
  std::printf("%s\n", line.c_str());
}

std::string text(const std::u16string& wide) {
  return escapeField(platform::toUtf8(wide));
}

bool holdsValue(const DataItemRegistration& item) {
  DataItemKind kind = item.kind();
  return kind == DataItemKind::kInt || kind == DataItemKind::kDouble || kind == DataItemKind::kString ||
         kind == DataItemKind::kBlob;
}

// key, value: the item at key, or every item under the group at key that holds a value.
void printSettingValues(HostSession& session, const std::string& key) {
  HostDataStore& store = session.host.core().dataStore();
  std::optional<DataItemRegistration> item = store.registration(key);
  if (!item) throw ScriptError("unknown key " + shownWord(key));
  std::vector<DataItemRegistration> items = store.listGroup(key);
  if (item->kind() != DataItemKind::kGroup) items = {*item};
  for (const DataItemRegistration& each : items) {
    if (holdsValue(each)) printFields({each.key, valueText(store.value(each.key))});
  }
}

std::string number(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

// After a tab: "member", then each member's name, in document order.
void printGroupMembers(HostDocument& document, const HostDocObject& group) {
  for (const IPtr<HostDocObject>& member : document.objects()) {
    if (member->groupId() == group.id()) printFields({"", "member", text(member->name())});
  }
}

// After a tab, one line per curve: "curve", spline or line/arc, open or closed, its points' count, its first
// and last point; then "ends shown" or "ends hidden" and the number of polylines the curves came from.
void printCurves(HostDocObject& object) {
  auto* holder = object.dataAs<IZelCurveSet>();
  ICurveSet* curves = holder ? holder->curveSet() : nullptr;
  for (int32_t i = 1; curves && i <= curves->curveCount(); ++i) {
    RealPArray* points = curves->curvePoints(i);
    auto point = [&](int32_t k) {
      const double* p = points->at(k);
      return "(" + number(p[0]) + ", " + number(p[1]) + ", " + number(p[2]) + ")";
    };
    printFields({"", "curve", curves->curveKind(i) == ICurveSet::kSpline ? "spline" : "line/arc",
                 curves->isClosed(i) ? "closed" : "open", "points " + std::to_string(points->count()),
                 "from " + point(1), "to " + point(points->count())});
  }
  auto* ends = queryPart<IZelCurveEnds>(object.subObject("PrimCurveEnds"));
  auto* polylines = queryPart<IZelObjectList>(object.subObject("CurveBySectionPolylines"));
  printFields({"", ends && ends->visible() ? "ends shown" : "ends hidden",
               "polylines " + std::to_string(polylines ? polylines->count() : 0)});
}

// type, name: the document's objects in order, each followed by the points of a point object that holds any
// (their count, the first and the last), then by its sub-objects, one line each after a tab: the feature's
// kind, the name, visible or hidden, the feature's defining numbers and its probing record; a group's members
// and a curve object's curves follow it the same way.
void printDocument(HostSession& session) {
  HostFeatureTypeFinder& types = session.host.document().featureTypes();
  HostDocument& document = session.host.document().doc();
  for (const IPtr<HostDocObject>& object : document.objects()) {
    printFields({object->objectType(), text(object->name())});
    if (object->type() == HostDocObject::kGroupType) printGroupMembers(document, *object);
    if (object->dataAs<IZelCurveSet>()) printCurves(*object);
    auto* points = queryPart<IZelPoints>(object->subObject("PointModel"));
    if (points && points->pointCount() > 0) {
      std::vector<std::string> fields = pointSetFields(*points);
      fields.insert(fields.begin(), "");
      printFields(fields);
    }
    for (const auto& sub : object->featureSubObjects().subObjects()) {
      IZelFeature* feature = sub->shownFeature();
      IZelFeatureType* type = types.featureType(feature);
      std::vector<std::string> fields = {
          "", type ? text(type->displayName().c_str()) : "unknown", text(sub->nameText()),
          sub->displayFlag(IZelSubObject::kHiddenDisplayFlag) ? "hidden" : "visible"};
      for (auto describe : {definingFields, probingFields}) {
        for (std::string& each : describe(*feature)) fields.push_back(std::move(each));
      }
      printFields(fields);
    }
  }
}

// severity, context, message: every error reported to the user so far.
void printErrors(HostSession& session) {
  for (const RecordingErrorService::Report& report : session.host.core().errors().reports()) {
    printFields({std::to_string(report.severity), escapeField(report.context), text(report.message)});
  }
}

// name, width x height; then "refused", why: what the image store holds and what it refused.
void printImages(HostSession& session) {
  HostImageStore& images = session.host.gui().images();
  for (const std::string& name : images.names()) {
    std::optional<DecodedImage> image = images.image(name);
    printFields({escapeField(name), std::to_string(image->width) + "x" + std::to_string(image->height)});
  }
  for (const std::string& refusal : images.refusals()) printFields({"refused", escapeField(refusal)});
}

// The dialog's controls by id, as dialog_fields.h says.
void printDialog(HostSession& session) {
  HostGuiDialog& dialog = session.host.gui().dialog();
  std::optional<int32_t> current = dialog.currentControl();
  for (const auto& [id, control] : dialog.controls())
    printFields(dialogControlFields(id, control, current == id, dialog.shownFactor(control)));
}

// The cells of each row of every table in the dialog, the header row first.
void printTables(HostSession& session) {
  for (const auto& [id, control] : session.host.gui().dialog().controls()) {
    IZelTable* table = control.table.get();
    for (int32_t row = 1; table && row <= table->rowCount(); ++row) {
      std::vector<std::string> cells;
      for (int32_t column = 1; column <= table->columnCount(); ++column)
        cells.push_back(text(table->text(row, column).c_str()));
      printFields(cells);
    }
  }
}

// Each line of a file as its bytes are, a carriage return and a tab shown escaped, as a field is.
void printFile(const std::string& path) {
  if (std::optional<std::string> why = whyNoRegularFile(path))
    throw ScriptError("cannot print " + shownPath(path) + ": " + *why);
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) std::printf("%s\n", escapeField(line).c_str());
}

void printScene(HostSession& session) {
  for (const std::string& line : sceneLines(session)) std::printf("%s\n", line.c_str());
}

// style, text, detail, answer: every simple dialog shown so far.
void printDialogs(HostSession& session) {
  for (const ScriptedSimpleDialog::Shown& shown : session.host.gui().simpleDialog().shown()) {
    printFields(
        {std::to_string(shown.style), text(shown.text), text(shown.detail), std::to_string(shown.answer)});
  }
}

// class: the loaded device plug-ins in load order.
void printPlugins(HostSession& session) {
  for (IZelUnknown* plugin : session.host.devices().pluginHandler().plugins())
    printFields({plugin->className()});
}

struct Subject {
  const char* name;
  void (*print)(HostSession& session);
};

constexpr Subject kSubjects[] = {
    {"document", printDocument}, {"errors", printErrors},   {"images", printImages},
    {"dialog", printDialog},     {"dialogs", printDialogs}, {"plugins", printPlugins},
    {"scene", printScene},       {"table", printTables},    {"alignment", printAlignment},
};

// x, y, z of every point of the point object NAME, to 17 significant digits.
void printPoints(HostSession& session, const std::string& name) {
  IZelDocObject* object = session.host.document().doc().findObject(ZelString(name.c_str()));
  auto* model = object ? queryPart<IZelPoints>(object->subObject("PointModel")) : nullptr;
  RealPArray* points = model ? model->array() : nullptr;
  if (!points) throw ScriptError("no point object " + shownWord(name));
  for (int32_t i = 1; i <= points->count(); ++i) {
    const double* p = points->at(i);
    std::printf("%.17g\t%.17g\t%.17g\n", p[0], p[1], p[2]);
  }
}

}  // namespace

void printState(HostSession& session, const ScriptWords& words) {
  const std::string& subject = words[0];
  if (subject == "settings") {
    printSettingValues(session, words.size() > 1 ? words[1] : kSettingsGroup);
    return;
  }
  if (subject == "file") {
    if (words.size() < 2) throw ScriptError("print file takes the file's path");
    printFile(words[1]);
    return;
  }
  if (subject == "points") {
    if (words.size() != 2) throw ScriptError("print points takes the name of a point object");
    printPoints(session, words[1]);
    return;
  }
  for (const Subject& each : kSubjects) {
    if (subject != each.name) continue;
    if (words.size() > 1) throw ScriptError("print " + subject + " takes no further word");
    each.print(session);
    return;
  }
  throw ScriptError("cannot print " + shownWord(subject));
}
