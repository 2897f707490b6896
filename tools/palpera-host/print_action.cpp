#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "alignment_lines.h"
#include "dialog_fields.h"
#include "feature_fields.h"
#include "host/core/data_item_text.h"
#include "host/core/field_escape.h"
#include "platform/utf8.h"
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

// type, name: the document's objects in order, each followed by its sub-objects, one line each after a tab:
// the feature's kind, the name, visible or hidden, the feature's defining numbers and its probing record.
void printDocument(HostSession& session) {
  HostFeatureTypeFinder& types = session.host.document().featureTypes();
  for (const IPtr<HostDocObject>& object : session.host.document().doc().objects()) {
    printFields({object->objectType(), text(object->name())});
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
    {"document", printDocument}, {"errors", printErrors},       {"images", printImages},
    {"dialog", printDialog},     {"dialogs", printDialogs},     {"plugins", printPlugins},
    {"scene", printScene},       {"alignment", printAlignment},
};

}  // namespace

void printState(HostSession& session, const ScriptWords& words) {
  const std::string& subject = words[0];
  if (subject == "settings") {
    printSettingValues(session, words.size() > 1 ? words[1] : kSettingsGroup);
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
