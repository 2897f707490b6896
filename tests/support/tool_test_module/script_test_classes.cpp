// Two classes that only the command-line host's test module registers, so that scripts can drive a command
// and load a plug-in of known behaviour through the real module.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "devices/plugins/module_plugin.h"
#include "framework/component/item_factory.h"
#include "framework/component/zel_default_class_factory.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host/api/gui_simple_dialog.h"
#include "host/api/main_application.h"
#include "host/api/parameters.h"
#include "support/made_by_name.h"
#include "support/recording_command.h"
#include "tests/commands/plugin_options/options_plugin.h"

namespace {

IPtr<IZelParameterTable> probingRecord() {
  IPtr<IZelIDValue> creator = made<IZelIDValue>();
  creator->setValue(ZelID::fromString("1,2,3"));
  ZelCountedArray<Vector3> points;
  points.append({0, 0, 0});
  points.append({0, 0, 0});
  IPtr<IZelVectorsValue> sampled = made<IZelVectorsValue>();
  sampled->setValue(points);
  IPtr<IZelParameterTable> parameters = made<IZelParameterTable>(), record = made<IZelParameterTable>();
  parameters->setParameter(ZelString(u"<SampledPoints>"), sampled.get());
  record->setParameter(ZelString(u"<ZelID>"), creator.get());
  record->setParameter(ZelString(u"<Parameters>"), parameters.get());
  return record;
}

// Prints every call the host makes as "command: <call>". Its argument text names what it refuses, each a
// word of the text: "cannot-run", "no-activation", "no-apply", "no-cancel". Its dialog: a number
// "Distance" (1), a button "Ask" (2) that asks a question and notes the answer, a button "Post" (3) that
// posts "Palpera/LogReplayFinished" to the main loop, and a disabled button "Locked" (4). Applying adds the
// point object "Probed" to the document, showing one point as its sub-object "Origin" with the probing record
// a creator leaves (creator id 1,2,3; two points sampled).
class ScriptTestCommand : public RecordingCommand {
 public:
  ScriptTestCommand() { echo = stdout; }

  void createGui(IGuiDialog* dialog) override {
    RecordingCommand::createGui(dialog);
    dialog->addControl(1, "number", ZelString(u"Distance"));
    dialog->addControl(2, "button", ZelString(u"Ask"));
    dialog->addControl(3, "button", ZelString(u"Post"));
    dialog->addControl(4, "button", ZelString(u"Locked"));
    dialog->enableControl(4, false, IGuiDialog::kEnableDefault);
  }
  bool activate() override {
    record("arguments '" + argumentText() + "'");
    return RecordingCommand::activate();
  }
  bool apply() override {
    if (!RecordingCommand::apply()) return false;
    IPtr<IZelDocObject> probed = createPointObject(ZelString(u"Probed"));
    IZelFeatureSubObjectMgr* features = getFeatureSubObjectMgr(probed.get());
    IPtr<IZelPoint> origin = createPoint();
    queryPart<IZelFeature>(origin.get())
        ->setParameter(ZelString(u"<ProbeConstruction>"), probingRecord().get());
    IPtr<IZelFeatureSubObject> shown;
    shown.takeOwnership(features->createSubObject(queryPart<IZelFeature>(origin.get())));
    shown->setName(ZelString(u"Origin"));
    queryPart<IZelSubObjectMgr>(features)->addSubObject(shown.get());
    return true;
  }
  void onGuiEvent(int32_t id, int32_t value) override {
    RecordingCommand::onGuiEvent(id, value);
    if (id == 2) ask();
    if (id == 3) post();
  }

 private:
  std::string argumentText() {
    void* part = nullptr;
    if (context()) context()->queryInterface(IComponentCommandContainerV2::interfaceName, &part, false);
    return part ? static_cast<IComponentCommandContainerV2*>(part)->argumentText().c_str() : "";
  }
  bool refuses(const std::string& call) override {
    static const std::map<std::string, std::string> words{{"canRun", "cannot-run"},
                                                          {"activate", "no-activation"},
                                                          {"canApply", "no-apply"},
                                                          {"cancel", "no-cancel"}};
    auto word = words.find(call);
    return word != words.end() &&
           (" " + argumentText() + " ").find(" " + word->second + " ") != std::string::npos;
  }
  void ask() {
    SPtr<IGuiSimpleDlg> dialog;
    int32_t answer = dialog->show(IGuiSimpleDlg::kQuestionStyle, ZelString(u"Again?"), ZelString(u""), false,
                                  false, false);
    record("answered " + std::to_string(answer));
  }
  void post() {
    SPtr<IMainApplication> application;
    application->postName("Palpera/LogReplayFinished");
  }
};

class ScriptTestPlugin : public ModulePlugin, public ZelUnknownImpl {
 public:
  const ZelString& getName() override { return name_; }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("ScriptTestPlugin", this, this).offer<IZelPlugin>(this).end();
  }
  const char* className() override { return "ScriptTestPlugin"; }

 private:
  const ZelString name_{u"Script Test Plug-in"};
};

struct Journal {
  std::vector<std::string> entries;
};

// A hard-probe plug-in with one option entry, "Calibrate", so that "Plug-In Options" has an entry to show:
// running it prints "plug-in: run calibrate".
class ScriptOptionsPlugin : private Journal, public OptionsPlugin {
 public:
  ScriptOptionsPlugin()
      : OptionsPlugin(u"Script Options Plug-in", {.single = true, .continuous = true},
                      {{"HardProbe", "calibrate", "HardProbe", u"Calibrate", {}}}, entries) {}
  bool runOption(const ZelCString& key) override {
    std::printf("plug-in: run %s\n", key.c_str());
    return OptionsPlugin::runOption(key);
  }
};

// Ids of these test classes only; the module's own ids live in its registration table.
constexpr ZelID kCommandId{0xfcfa1863, 0x84f5, 0x4332, {0x88, 0x00, 0x46, 0xa4, 0x7e, 0x79, 0x40, 0x20}};
constexpr ZelID kPluginId{0xcddd0a97, 0x866d, 0x4527, {0xb3, 0x12, 0xed, 0xc9, 0x27, 0x78, 0xea, 0xb9}};

constexpr ZelID kOptionsPluginId{
    0x5b0e7c41, 0x2f3a, 0x4d6e, {0x9a, 0x51, 0x0c, 0x7d, 0x3e, 0x88, 0x14, 0x62}};

ZelTClassItemFactory<ScriptTestCommand> commandFactory("ScriptTestCommand", kCommandId);
ZelTClassItemFactory<ScriptTestPlugin> pluginFactory("ScriptTestPlugin", kPluginId);
ZelTClassItemFactory<ScriptOptionsPlugin> optionsPluginFactory("ScriptOptionsPlugin", kOptionsPluginId);

const bool registered = [] {
  registerItemFactory(getClassFactory(), &commandFactory);
  registerItemFactory(getClassFactory(), &pluginFactory);
  registerItemFactory(getClassFactory(), &optionsPluginFactory);
  return true;
}();

}  // namespace
