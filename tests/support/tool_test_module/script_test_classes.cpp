// Two classes that only the command-line host's test module registers, so that scripts can drive a command
// and load a plug-in of known behaviour through the real module.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "devices/plugins/module_plugin.h"
#include "framework/commands/command_context.h"
#include "framework/component/item_factory.h"
#include "framework/component/zel_default_class_factory.h"
#include "framework/files/zel_unicode_stream.h"
#include "framework/host_glue/document_glue.h"
#include "framework/host_glue/point_objects.h"
#include "framework/object/host_lookup.h"
#include "framework/object/query_part.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/main_application.h"
#include "host_api/parameters.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_node_factory.h"
#include "host_api/zel_style_nodes.h"
#include "platform/utf8.h"
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
// posts "Palpera/LogReplayFinished" to the main loop, a disabled button "Locked" (4), and a button "Write"
// (5) that writes the file "written" through the module's writer: it prints "command: writing N" (the Nth
// time) with the new version unfinished, and puts it in place once a line, or the end, comes on standard
// input, so that a test can end the host in between. Applying adds the
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
    dialog->addControl(5, "button", ZelString(u"Write"));
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
    if (id == 5) write();
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
  void write() {
    ZelUnicodeStream written(ZelString(u"written"));
    written << "a new version\n";
    record("writing " + std::to_string(++writes_));
    char line[64];
    if (!std::fgets(line, sizeof line, stdin)) std::clearerr(stdin);
    record(written.commit() ? "written" : "not written");
  }

  int writes_ = 0;
};

// Reads the context as the probing and editing commands do. canRun prints "context" and each flag, object
// test and the feature test as NAME=0|1, and answers as the edit command does: no while a command runs, a
// macro is recorded, a section or boundary is current; yes while one object is active or the world is current
// and the active object holds a feature. Its dialog: "Done" (1) asks to be finished as applied, "Give up" (2)
// as cancelled.
class ContextTestCommand : public RecordingCommand {
 public:
  ContextTestCommand() { echo = stdout; }

  bool canRun(IZelUnknown* context) override {
    std::string line = "context";
    auto show = [&line](const char* name, bool on) {
      line += std::string(" ") + name + "=" + (on ? "1" : "0");
    };
    bool refused = false;
    for (const char* name : {"inCommand", "recordingMacro", "sectionCurrent", "boundaryCurrent"}) {
      show(name, contextFlag(context, name));
      refused = refused || contextFlag(context, name);
    }
    bool single = contextFlag(context, "singleObjectActive"), world = contextHoldsObject(context, "World");
    bool features = contextHasFeatures(context, 1);
    show("singleObjectActive", single);
    show("World", world);
    show("Result", contextHoldsObject(context, "Result"));
    show("hasFeatures", features);
    record(line);
    return !refused && (single || world) && features;
  }
  void createGui(IGuiDialog* dialog) override {
    RecordingCommand::createGui(dialog);
    dialog->addControl(1, "button", ZelString(u"Done"));
    dialog->addControl(2, "button", ZelString(u"Give up"));
  }
  void onGuiEvent(int32_t id, int32_t value) override {
    RecordingCommand::onGuiEvent(id, value);
    finishCommand(context(), id == 1);
    record("asked to finish");
  }
};

// Prints what a widget built into a command's dialog hears, as "widget: <call>".
class WidgetReceiver : public ZelGuiReceiverBase, public ZelUnknownImpl {
 public:
  void onGuiEvent(int32_t id, int32_t value) override { std::printf("widget: gui event %d %d\n", id, value); }
  void queryInterface(const char* name, void** out, bool) override {
    QueryChain(name, out).classLeaf("WidgetReceiver", this, this).offer<IGuiReceiver>(this).end();
  }
  const char* className() override { return "WidgetReceiver"; }
};

// Builds a control of every kind and edits its list as commands do: "Targets" (1) ends up C, B, A with B
// chosen and A disabled; "Units" (2) °C, °F; "Tolerance" (3) a number shown "%.4f" within [0, 0.01], the
// current control; "Offset" (4) a length; "Label" (5) a text field in font 20; the radio group "Planes" (6)
// with "Plane A" (7, picture 5, chosen) and "Plane B" (8, picture 6), which adds a row to the table;
// "Snap" (9) a button of its own widget; "Statistics" (10) a table of a header and one row.
class DialogTestCommand : public RecordingCommand {
 public:
  DialogTestCommand() { echo = stdout; }

  bool canRun(IZelUnknown* context) override {
    RecordingCommand::canRun(context);
    return true;
  }
  void createGui(IGuiDialog* dialog) override {
    RecordingCommand::createGui(dialog);
    dialog->addControl(1, "list", ZelString(u"Targets"));
    for (const char16_t* entry : {u"A", u"B", u"C", u"D"}) dialog->addListEntry(1, ZelString(entry));
    dialog->swapListEntries(1, 0, 2);
    dialog->removeListEntry(1, 3);
    dialog->selectListEntry(1, 1);
    dialog->enableListEntry(1, 2, false);
    dialog->addControl(2, "dropdown", ZelString(u"Units"));
    dialog->addListEntry(2, ZelString(u"\u00b0C"));
    dialog->addListEntry(2, ZelString(u"\u00b0F"));
    dialog->setControlValue(2, 0);
    dialog->addControl(3, "number", ZelString(u"Tolerance"));
    dialog->setNumberFormat(3, "%.4f", 0, 0.01);
    dialog->setControlValue(3, 0.001);
    dialog->addControl(4, "length", ZelString(u"Offset"));
    dialog->beginFont(20);
    dialog->addControl(5, "text", ZelString(u"Label"));
    dialog->endFont();
    dialog->setControlText(5, ZelString(u"P1"));
    dialog->addControl(6, "radiogroup", ZelString(u"Planes"));
    dialog->registerPicture(5, "three_321");
    dialog->addRadio(6, 7, ZelString(u"Plane A"), 5);
    dialog->addRadio(6, 8, ZelString(u"Plane B"), 6);
    dialog->setControlValue(7, 1);
    dialog->beginReceiver(&widget_);
    dialog->addControl(9, "button", ZelString(u"Snap"));
    dialog->endReceiver();
    dialog->addControl(10, "table", ZelString(u"Statistics"));
    table_ = made<IZelTable>();
    table_->initialise(2, ZelString(u"Fitting Statistics"), ZelString(u"Fitting Statistics"));
    table_->setText(table_->addRow(), 1, ZelString(u"Property"));
    table_->setText(1, 2, ZelString(u"Value"));
    table_->setText(table_->addRow(), 1, ZelString(u"Number of Points"));
    table_->setNumber(2, 2, 12);
    dialog->setControlTable(10, table_.get(), nullptr);
    dialog->setCurrentControl(3);
    dialog->refreshLayout();
  }
  void onGuiEvent(int32_t id, int32_t value) override {
    RecordingCommand::onGuiEvent(id, value);
    if (id != 8) return;  // "Plane B" adds a row
    table_->setText(table_->addRow(), 1, ZelString(u"Maximum"));
    gui_->setControlTable(10, table_.get(), nullptr);
  }
  void onGuiValueByReference(int32_t id, void* value) override {
    record("gui text " + std::to_string(id) + " '" +
           platform::toUtf8(static_cast<ZelString*>(value)->c_str()) + "'");
  }

 private:
  WidgetReceiver widget_;
  IPtr<IZelTable> table_;
};

// Builds, under the document's scene root, the point graphics of the edit command with a node of every kind
// made by name: a separator "points" holding a draw style, a dual material over the theme's
// "MaterialLocationSet", a colour material, a colour, and one separator per point with a text label and the
// sphere all points share.
class SceneTestCommand : public RecordingCommand {
 public:
  bool canRun(IZelUnknown*) override { return true; }
  bool activate() override {
    SPtr<IGfxDoc> graphics;
    IZelSeparatorNode* points = createNode<IZelSeparatorNode>(graphics->sceneRoot(), "points");
    ZelDrawStyle style;
    style.style = 1;
    style.pointSize = 3.0;
    createNode<IZelDrawStyleNode>(points, "style")->setDrawStyle(style);
    IPtr<IZelThemeMaterialSource> theme = made<IZelThemeMaterialSource>();
    theme->setThemeName("MaterialLocationSet");
    createNode<IZelDualMaterialSourceNode>(points, "material")->setMaterialSources(theme.get(), theme.get());
    createNode<IZelColorMaterialNode>(points, "colour material")->enable(1);
    createNode<IZelColorNode>(points, "colour")->setColor({0.25f, 0.5f, 0.5f, 1.0f});
    IZelGroupNode* first = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(points, "point 1"));
    IZelSphereNode* sphere = createNode<IZelSphereNode>(first, "sphere");
    sphere->setRadius(0.5);
    IZelGroupNode* second = queryPart<IZelGroupNode>(createNode<IZelSeparatorNode>(points, "point 2"));
    IZelText* label = createNode<IZelText>(second, "label");
    label->setText(ZelString(u"P2"), {1, 2, 3}, 12, 0, 0);
    label->setFlags(2);
    second->addChild(sphere);
    createNode<IZelGroupNode>(points, "empty")->addChild(nullptr);
    return true;
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
constexpr ZelID kContextCommandId{
    0x5b0e2c71, 0x3d4a, 0x4f19, {0x9a, 0x61, 0x27, 0xc3, 0x80, 0x5e, 0x14, 0xd2}};
constexpr ZelID kDialogCommandId{
    0x1f7d3a52, 0x6c08, 0x4e2b, {0xb4, 0x3e, 0x90, 0x15, 0xa7, 0x2c, 0x68, 0xf1}};
constexpr ZelID kSceneCommandId{0xa93e1c07, 0x52f6, 0x4d8b, {0x8e, 0x14, 0x3b, 0x6a, 0xc2, 0x95, 0x07, 0xde}};
constexpr ZelID kPluginId{0xcddd0a97, 0x866d, 0x4527, {0xb3, 0x12, 0xed, 0xc9, 0x27, 0x78, 0xea, 0xb9}};

constexpr ZelID kOptionsPluginId{
    0x5b0e7c41, 0x2f3a, 0x4d6e, {0x9a, 0x51, 0x0c, 0x7d, 0x3e, 0x88, 0x14, 0x62}};

ZelTClassItemFactory<ScriptTestCommand> commandFactory("ScriptTestCommand", kCommandId);
ZelTClassItemFactory<ContextTestCommand> contextCommandFactory("ContextTestCommand", kContextCommandId);
ZelTClassItemFactory<DialogTestCommand> dialogCommandFactory("DialogTestCommand", kDialogCommandId);
ZelTClassItemFactory<SceneTestCommand> sceneCommandFactory("SceneTestCommand", kSceneCommandId);
ZelTClassItemFactory<ScriptTestPlugin> pluginFactory("ScriptTestPlugin", kPluginId);
ZelTClassItemFactory<ScriptOptionsPlugin> optionsPluginFactory("ScriptOptionsPlugin", kOptionsPluginId);

const bool registered = [] {
  registerItemFactory(getClassFactory(), &commandFactory);
  registerItemFactory(getClassFactory(), &contextCommandFactory);
  registerItemFactory(getClassFactory(), &dialogCommandFactory);
  registerItemFactory(getClassFactory(), &sceneCommandFactory);
  registerItemFactory(getClassFactory(), &pluginFactory);
  registerItemFactory(getClassFactory(), &optionsPluginFactory);
  return true;
}();

}  // namespace
