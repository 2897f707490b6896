#include "commands/temperature/temperature_compensation_cmd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/support/command_fixture.h"
#include "devices/alignment/alignment_services.h"
#include "devices/materials/izel_materials.h"
#include "devices/materials/zel_material.h"
#include "framework/host_glue/unit_service.h"
#include "host/core/host_script_command.h"
#include "support/text.h"
#include "test_paths.h"

// Named: the command tests are built together, and their helpers share names.
namespace temperature_compensation {

using Cmd = TemperatureCompensationCmd;
using Setting = std::pair<std::string, double>;  // the scale service's material and temperature

constexpr double kSteelAt25 = 0.9999415034220498;
constexpr int32_t kSteel = 0;
constexpr int32_t kAluminium6061 = 2;
constexpr int32_t kMetre = 7;
constexpr int32_t kMillimetre = 1;

class TemperatureCompensation : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    store().setString(nullptr, "DefaultFileNameDirectory/common",
                      ZelString(PALPERA_TEST_SOURCE_DIR "/../examples"));
    ASSERT_TRUE(UnitService::setCurrentLengthUnit(kMillimetre));
    scale_.getService();
    library_.getService();
    ASSERT_TRUE(scale_ && library_);
    ASSERT_GE(library_->count(), 3);
    scale_->setMaterial(ZelCString("Steel"), 25.0);
    scale_->setUnits(Cmd::kCelsius);
  }
  void TearDown() override {
    if (runner_.running()) runner_.cancel();
    scale_.release();
    library_.release();
    CommandTest::TearDown();
  }

  HostDataStore& store() { return host_.core().dataStore(); }
  void startCommand() { ASSERT_EQ(start(Cmd::interfaceName), CommandRunner::Start::kStarted); }
  Cmd& command() {
    void* found = nullptr;
    command_->queryInterface(Cmd::interfaceName, &found, false);
    return *static_cast<Cmd*>(found);
  }
  DialogControl field(int32_t id) { return *dialog().control(id); }
  Setting setting() {
    ZelCString name;
    double temperature = 0;
    scale_->material(name, temperature);
    return {name.c_str(), temperature};
  }
  std::string lastMaterial() { return store().getNarrowString(Cmd::kLastMaterialKey).c_str(); }

  // A script command as a macro gives it: the arguments named are set, the others keep their defaults.
  IPtr<IScriptCommand> script(const char* material, std::optional<double> temperature, const char* units) {
    IPtr<IScriptCommand> made;
    made.takeOwnership(command().describeScriptCommand());
    if (!made) return made;
    made->setString("Material", ZelCString(material));
    if (temperature) made->setDouble("Temperature", *temperature);
    made->setString("Units", ZelCString(units));
    return made;
  }
  bool runScript(const char* material, std::optional<double> temperature, const char* units) {
    IPtr<IScriptCommand> made = script(material, temperature, units);
    return made && command().runScriptCommand(made.get());
  }

  IPtr<IZelPluginDeviceScaleAlignmentService> scale_;
  IPtr<Materials::IZelMaterials> library_;
};

TEST_F(TemperatureCompensation, OpensOnTheServicesMaterialWithTheTemperatureItsFactorGives) {
  startCommand();
  const std::vector<DialogListEntry> materials = field(Cmd::kMaterialSelection).entries;
  ASSERT_GE(materials.size(), 3u);
  EXPECT_EQ(materials[0].text, u"Carbon steel");
  EXPECT_EQ(materials[1].text, u"Stainless steel 304");
  EXPECT_EQ(materials[2].text, u"Aluminium 6061-T6");
  EXPECT_EQ(field(Cmd::kUnitSelection).entries,
            (std::vector<DialogListEntry>{{u"\u00b0C", true}, {u"\u00b0F", true}}));
  EXPECT_EQ(field(Cmd::kMaterialSelection).selection, kSteel);
  EXPECT_EQ(field(Cmd::kScaleFactor).value, kSteelAt25);
  EXPECT_NEAR(field(Cmd::kTemperatureValue).value, 25.0, 1e-9);
  EXPECT_EQ(field(Cmd::kTemperatureValue).text, u"Part Temperature (\u00b0C)");
  EXPECT_FALSE(dialog().isControlEnabled(IGuiDialog::kStandardControl2));

  dialog().chooseEntry(Cmd::kMaterialSelection, kAluminium6061);
  ASSERT_TRUE(dialog().enterValue(Cmd::kTemperatureValue, 30.0));
  EXPECT_EQ(field(Cmd::kScaleFactor).value, 0.999764055682859);
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(setting(), (Setting{"Aluminium6061", 30.0}));
  EXPECT_EQ(scale_->matrix()->m[0], 0.999764055682859);
  EXPECT_EQ(scale_->units(), Cmd::kCelsius);
  EXPECT_EQ(lastMaterial(), "Aluminium6061") << "the key, not the display name";
}

TEST_F(TemperatureCompensation, FahrenheitIsConvertedOnEntryAndASwitchOnlyConvertsAndRelabels) {
  startCommand();
  ASSERT_TRUE(dialog().chooseEntry(Cmd::kUnitSelection, Cmd::kFahrenheit));
  EXPECT_NEAR(field(Cmd::kTemperatureValue).value, 77.0, 1e-9);
  EXPECT_EQ(field(Cmd::kTemperatureValue).text, u"Part Temperature (\u00b0F)");
  EXPECT_EQ(field(Cmd::kScaleFactor).value, kSteelAt25) << "the switch does not recompute";
  ASSERT_TRUE(dialog().chooseEntry(Cmd::kUnitSelection, Cmd::kCelsius));
  EXPECT_NEAR(field(Cmd::kTemperatureValue).value, 25.0, 1e-9);
  EXPECT_EQ(field(Cmd::kTemperatureValue).text, u"Part Temperature (\u00b0C)");
  command().onGuiValueChanged(Cmd::kUnitSelection, 5);
  EXPECT_NEAR(field(Cmd::kTemperatureValue).value, 25.0, 1e-9) << "no unit has index 5";

  ASSERT_TRUE(dialog().chooseEntry(Cmd::kUnitSelection, Cmd::kFahrenheit));
  ASSERT_TRUE(dialog().enterValue(Cmd::kTemperatureValue, 77.0));
  EXPECT_EQ(field(Cmd::kScaleFactor).value, kSteelAt25);
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(setting(), (Setting{"Steel", 25.0}));
  EXPECT_EQ(scale_->units(), Cmd::kFahrenheit);
}

TEST_F(TemperatureCompensation, WithoutAStoredUnitInchesAndFeetOpenInFahrenheit) {
  for (auto [unit, units] : {std::pair{0, Cmd::kFahrenheit}, std::pair{2, Cmd::kFahrenheit},
                             std::pair{kMetre, Cmd::kCelsius}, std::pair{kMillimetre, Cmd::kCelsius}}) {
    SCOPED_TRACE(unit);
    scale_->setUnits(-1);
    ASSERT_TRUE(UnitService::setCurrentLengthUnit(unit));
    startCommand();
    EXPECT_EQ(field(Cmd::kUnitSelection).selection, units);
    EXPECT_NEAR(field(Cmd::kTemperatureValue).value, units == Cmd::kFahrenheit ? 77.0 : 25.0, 1e-9);
    runner_.cancel();
  }
}

TEST_F(TemperatureCompensation, TheScriptTakesUnitsOnlyByTheirExactWordsAndNeedsATemperatureForAMaterial) {
  startCommand();
  ASSERT_TRUE(runScript("Steel", 77.0, "Fahrenheit"));
  EXPECT_EQ(setting(), (Setting{"Steel", 25.0}));
  EXPECT_EQ(scale_->units(), Cmd::kFahrenheit);
  EXPECT_EQ(lastMaterial(), "Steel");
  ASSERT_TRUE(runScript("Steel", 30.0, ""));
  EXPECT_EQ(setting(), (Setting{"Steel", 30.0})) << "no word is Celsius";
  EXPECT_EQ(scale_->units(), Cmd::kCelsius);

  // 77 taken as degrees Celsius where Fahrenheit was meant would shrink the part by its expansion over 52 K.
  for (const char* units : {"fahrenheit", "F", "Kelvin"}) {
    SCOPED_TRACE(units);
    host_.core().errors().clear();
    EXPECT_FALSE(runScript("Steel", 77.0, units));
    EXPECT_EQ(errorMessages(), std::vector<std::u16string>{
                                   u"The script command \"temperature_compensation\" takes \"Units\" as "
                                   u"\"Celsius\" or \"Fahrenheit\", not '" +
                                   std::u16string(units, units + std::strlen(units)) +
                                   u"': the temperature compensation is unchanged."});
    EXPECT_EQ(setting(), (Setting{"Steel", 30.0}));
  }
  host_.core().errors().clear();
  ASSERT_TRUE(runScript("Steel", 77.0, "Celsius"));
  EXPECT_EQ(setting(), (Setting{"Steel", 77.0}));
  EXPECT_EQ(scale_->units(), Cmd::kCelsius);

  // The declared default of -1 degrees would be taken for the part's.
  EXPECT_FALSE(runScript("Steel", std::nullopt, ""));
  EXPECT_EQ(setting(), (Setting{"Steel", 77.0}));
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"The script command \"temperature_compensation\" names the material "
                                        u"'Steel' but no \"Temperature\": the temperature compensation is "
                                        u"unchanged."});
  ASSERT_TRUE(runScript("Steel", -1.0, ""));
  EXPECT_EQ(scale_->matrix()->m[0], 1.0002457603833261);

  // A temperature without its material would switch the compensation off.
  host_.core().errors().clear();
  EXPECT_FALSE(runScript("", 30.0, "Celsius"));
  EXPECT_EQ(errorMessages(), std::vector<std::u16string>{
                                 u"The script command \"temperature_compensation\" gives a \"Temperature\" "
                                 u"but no \"Material\", which takes a material of the materials library: "
                                 u"Steel, StainlessSteel304, Aluminium6061, Aluminium7075, Brass, Ti6Al4V, "
                                 u"Invar36, CastIron. The temperature compensation is unchanged."});
  EXPECT_EQ(scale_->matrix()->m[0], 1.0002457603833261);
}

// A Units word alone would switch the compensation off; refused, it changes nothing. Switched off by a
// caller without a material, the service holds the -1 that stands for no temperature, which the dialog never
// shows: it opens at the reference temperature.
TEST_F(TemperatureCompensation, AUnitsWordWithoutATemperatureIsRefusedAndNoTemperatureIsNeverShown) {
  startCommand();
  EXPECT_FALSE(runScript("", std::nullopt, "Fahrenheit"));
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{u"The script command \"temperature_compensation\" gives "
                                        u"\"Units\" but no \"Temperature\": the temperature "
                                        u"compensation is unchanged."});
  EXPECT_EQ(setting(), (Setting{"Steel", 25.0}));
  EXPECT_EQ(scale_->units(), Cmd::kCelsius);

  scale_->setMaterial(ZelCString(""), -1.0);
  runner_.cancel();
  startCommand();
  EXPECT_EQ(field(Cmd::kScaleFactor).value, 1.0);
  EXPECT_EQ(field(Cmd::kTemperatureValue).value, 20.0);
}

TEST_F(TemperatureCompensation, AnUnknownMaterialOrAnImpossibleTemperatureIsRefusedAndChangesNothing) {
  startCommand();
  store().setNarrowString(nullptr, Cmd::kLastMaterialKey, "Brass");
  for (auto [material, temperature] : {std::pair{"Steal", 25.0}, std::pair{"Steel", -300.0},
                                       std::pair{"Steel", std::numeric_limits<double>::infinity()}}) {
    SCOPED_TRACE(material + std::string(" ") + std::to_string(temperature));
    host_.core().errors().clear();
    EXPECT_FALSE(runScript(material, temperature, "Celsius"));
    EXPECT_EQ(errorMessages().size(), 1u);
  }
  host_.core().errors().clear();
  ASSERT_TRUE(dialog().enterValue(Cmd::kTemperatureValue, -300.0));
  EXPECT_FALSE(runner_.apply()) << "a refused apply keeps the dialog";
  EXPECT_EQ(errorMessages().size(), 1u);
  EXPECT_EQ(setting(), (Setting{"Steel", 25.0}));
  EXPECT_EQ(scale_->matrix()->m[0], kSteelAt25);
  EXPECT_EQ(lastMaterial(), "Brass");

  ASSERT_TRUE(dialog().enterValue(Cmd::kTemperatureValue, 20.0));
  dialog().selectListEntry(Cmd::kMaterialSelection, -1);
  host_.core().errors().clear();
  EXPECT_FALSE(runner_.apply());
  EXPECT_EQ(errorMessages().size(), 1u) << "no material selected";
  EXPECT_EQ(setting(), (Setting{"Steel", 25.0}));
}

// 1e308 degrees scales every point to nothing; no argument would switch it off unasked; none is asked.
TEST_F(TemperatureCompensation,
       NoArgumentsOrAScaleBeyondTheTransformBoundIsRefusedAndAnyOtherTemperatureTaken) {
  startCommand();
  EXPECT_FALSE(runScript("Steel", 1e308, "Celsius"));
  EXPECT_EQ(errorMessages().size(), 1u);
  host_.core().errors().clear();
  EXPECT_FALSE(runScript("", std::nullopt, ""));
  EXPECT_EQ(errorMessages(),
            std::vector<std::u16string>{
                u"The script command \"temperature_compensation\" needs a \"Material\" of the materials "
                u"library (Steel, StainlessSteel304, Aluminium6061, Aluminium7075, Brass, Ti6Al4V, Invar36, "
                u"CastIron) and a \"Temperature\": the temperature compensation is unchanged."});
  EXPECT_EQ(setting(), (Setting{"Steel", 25.0}));

  for (double celsius : {2500.0, -60.0, 200.5})
    ASSERT_TRUE(runScript("Steel", celsius, "Celsius")) << celsius;
  EXPECT_EQ(setting(), (Setting{"Steel", 200.5}));
  ASSERT_TRUE(dialog().enterValue(Cmd::kTemperatureValue, -60.0));
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(setting(), (Setting{"Steel", -60.0}));
  EXPECT_TRUE(host_.gui().simpleDialog().shown().empty()) << "nobody is asked";
}

TEST_F(TemperatureCompensation, ARecordRunsToWhatApplyGives) {
  startCommand();
  ASSERT_TRUE(dialog().chooseEntry(Cmd::kUnitSelection, Cmd::kFahrenheit));
  ASSERT_TRUE(dialog().enterValue(Cmd::kTemperatureValue, 77.0));
  IPtr<IScriptCommand> recorded = script("", std::nullopt, "");
  ASSERT_TRUE(recorded);
  command().recordScriptCommand(recorded.get());
  ZelCString material, units;
  double temperature = 0;
  ASSERT_TRUE(recorded->getString("Material", material) && recorded->getDouble("Temperature", temperature) &&
              recorded->getString("Units", units));
  EXPECT_EQ(std::string(material.c_str()), "Steel");
  EXPECT_EQ(temperature, 77.0);
  EXPECT_EQ(std::string(units.c_str()), "Fahrenheit");

  scale_->setMaterial(ZelCString("Brass"), 40.0);
  ASSERT_TRUE(command().runScriptCommand(recorded.get()));
  const Setting scripted = setting();
  const int32_t scriptedUnits = scale_->units();
  scale_->setMaterial(ZelCString("Brass"), 40.0);
  ASSERT_TRUE(runner_.apply());
  EXPECT_EQ(setting(), scripted);
  EXPECT_EQ(scale_->units(), scriptedUnits);
}

TEST_F(TemperatureCompensation, AMaterialWithoutCoefficientOpensOnTheServicesTemperatureWithFactorOne) {
  IPtr<Materials::IZelMaterial> bare(new Materials::ZelMaterial(ZelCString("Bare"), ZelString(u"Bare")));
  library_->add(bare.get());
  scale_->setMaterial(ZelCString("Bare"), 31.5);
  startCommand();
  EXPECT_EQ(field(Cmd::kMaterialSelection).selection, library_->count() - 1);
  EXPECT_EQ(field(Cmd::kScaleFactor).value, 1.0);
  EXPECT_EQ(field(Cmd::kTemperatureValue).value, 31.5);
  runner_.cancel();
  library_->remove(bare.get());
}

TEST_F(TemperatureCompensation, RunsWhileAMacroRecordsButNotInsideACommandOrWithoutMaterials) {
  IPtr<IComponentCommand> command;
  command.createInstance(classIdOf(Cmd::interfaceName));
  ASSERT_TRUE(command);
  auto& container = host_.gui().commandContainer();
  auto* context = static_cast<IComponentCommandContainerV2*>(&container);
  container.setRecordingMacro(true);
  EXPECT_TRUE(command->canRun(context)) << "a macro records it as its script command";
  container.setRecordingMacro(false);
  container.setInCommand(true);
  EXPECT_FALSE(command->canRun(context));
  container.setInCommand(false);

  std::vector<IPtr<Materials::IZelMaterial>> taken;
  while (library_->count() > 0) {
    taken.emplace_back(library_->items()[1].get());
    library_->remove(taken.back().get());
  }
  EXPECT_FALSE(command->canRun(context)) << "an empty materials library";
  for (const IPtr<Materials::IZelMaterial>& material : taken) library_->add(material.get());
  EXPECT_TRUE(command->canRun(context));
}

TEST_F(TemperatureCompensation, TheScriptCommandIsDeclaredInOrderAndNeedsTheFactory) {
  IPtr<IScriptable> command;
  command.createInstance(classIdOf(Cmd::interfaceName));
  ASSERT_TRUE(command);
  IPtr<IScriptCommand> described;
  described.takeOwnership(command->describeScriptCommand());
  ASSERT_TRUE(described);
  EXPECT_EQ(std::string(described->commandName().c_str()), "temperature_compensation");
  auto* made = dynamic_cast<HostScriptCommand*>(described.get());
  ASSERT_TRUE(made);
  std::vector<std::string> names;
  for (const HostScriptCommand::Argument& argument : made->arguments()) {
    names.push_back(argument.name);
    EXPECT_EQ(argument.flags, 1);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Material", "Temperature", "Units"}));
  double temperature = 0;
  EXPECT_TRUE(described->getDouble("Temperature", temperature));
  EXPECT_EQ(temperature, -1.0);

  host_.core().root().setService(IScriptFactory::interfaceName, nullptr);
  EXPECT_EQ(command->describeScriptCommand(), nullptr);
}

}  // namespace temperature_compensation
