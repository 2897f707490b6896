#include "commands/temperature/temperature_compensation_cmd.h"

#include <cmath>
#include <limits>
#include <optional>

#include "devices/alignment/alignment_services.h"
#include "devices/materials/izel_materials.h"
#include "devices/materials/thermal_expansion.h"
#include "framework/commands/command_context.h"
#include "framework/host_glue/unit_service.h"
#include "framework/host_glue/user_error.h"
#include "framework/object/iptr.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"

namespace {

const ClassRegistration<TemperatureCompensationCmd> registration(
    registeredClass("TemperatureCompensationCmd"));

using Scale = IZelPluginDeviceScaleAlignmentService;
using Materials::IZelMaterials;

constexpr const char* kGroup = "Temperature Compensation";
constexpr int32_t kLastMaterialLength = 256;
constexpr uint32_t kLastMaterialFlags = 3;
constexpr double kAbsoluteZero = -273.15;
// The length units whose users read temperatures in degrees Fahrenheit: the inch and the foot.
constexpr int32_t kInch = 0;
constexpr int32_t kFoot = 2;
constexpr const char* kFahrenheitWord = "Fahrenheit";
constexpr const char* kCelsiusWord = "Celsius";
// Narrow texts are read as Latin-1: 0xB0 is the degree sign.
constexpr const char* kCelsiusLabel =
    "Part Temperature (\xB0"
    "C)";
constexpr const char* kFahrenheitLabel =
    "Part Temperature (\xB0"
    "F)";

double toCelsius(double fahrenheit) {
  return (fahrenheit - 32.0) * 5.0 / 9.0;
}

double toFahrenheit(double celsius) {
  return celsius * 9.0 / 5.0 + 32.0;
}

// The position (from 0) of the first material of that key, or nothing.
std::optional<int32_t> materialIndex(IZelMaterials& library, const ZelCString& name) {
  const auto& items = library.items();
  for (int32_t position = 1; position <= items.count(); ++position) {
    if (items[position]->name() == name) return position - 1;
  }
  return std::nullopt;
}

// A field of any finite number, shown with four decimals.
void addNumberField(IGuiDialog& dialog, int32_t id, const char* name, const ZelString& label) {
  dialog.addControl(id, "number", ZelString(name));
  dialog.setControlText(id, label);
  dialog.setNumberFormat(id, "%.4f", std::numeric_limits<double>::lowest(),
                         std::numeric_limits<double>::max());
}

// The units a script's word names, exactly as recorded; no word is Celsius.
std::optional<int32_t> unitsOfWord(const ZelCString& word) {
  if (word.isEmpty() || word == ZelCString(kCelsiusWord)) return TemperatureCompensationCmd::kCelsius;
  if (word == ZelCString(kFahrenheitWord)) return TemperatureCompensationCmd::kFahrenheit;
  return std::nullopt;
}

// The names a script gives materials by, in library order: "Steel, Aluminium6061".
ZelString materialNames() {
  SPtr<IZelMaterials> library;
  ZelString names;
  const int32_t count = library ? library->count() : 0;
  for (int32_t position = 1; position <= count; ++position) {
    if (position > 1) names += ZelString(u", ");
    names += ZelString(library->items()[position]->name().c_str());
  }
  return names;
}

}  // namespace

TemperatureCompensationCmd::TemperatureCompensationCmd() {
  name_ = tr("Temperature Compensation");
  SPtr<IDataStore> store;
  if (!store) return;
  store->addGroup(kGroup);
  store->addNarrowStringItem(kLastMaterialKey, kLastMaterialLength, "", kLastMaterialFlags);
  store->completeGroup(store->registrationHandle(), kGroup);
}

bool TemperatureCompensationCmd::canRun(IZelUnknown* context) {
  if (contextFlag(context, IComponentCommandContainerV2::kInCommand)) return false;
  SPtr<IZelMaterials> library;
  return library && library->count() > 0;
}

void TemperatureCompensationCmd::createGui(IGuiDialog* dialog) {
  gui_ = dialog;
  if (!gui_) return;
  gui_->beginPanel(ZelString(), true);
  gui_->beginPanel(tr("Units"), true);
  gui_->addControl(kUnitSelection, "dropdown", ZelString(u"UnitSelection"));
  gui_->setControlText(kUnitSelection, tr("Temperature Units"));
  gui_->endPanel();
  gui_->beginPanel(tr("Material Properties"), true);
  gui_->addControl(kMaterialSelection, "dropdown", ZelString(u"MaterialSelection"));
  gui_->setControlText(kMaterialSelection, tr("Material"));
  addNumberField(*gui_, kTemperatureValue, "TemperatureValue", tr(kCelsiusLabel));
  addNumberField(*gui_, kScaleFactor, "ScaleFactor", tr("Scale Factor"));
  gui_->endPanel();
  gui_->endPanel();

  gui_->addListEntry(kUnitSelection, ZelString(u"\u00b0C"));
  gui_->addListEntry(kUnitSelection, ZelString(u"\u00b0F"));
  SPtr<IZelMaterials> library;
  if (library) {
    const auto& items = library->items();
    for (int32_t position = 1; position <= items.count(); ++position)
      gui_->addListEntry(kMaterialSelection, items[position]->i18nName());
  }
  gui_->enableWidgetControl(IGuiDialog::kStandardControl2, false, nullptr);
}

bool TemperatureCompensationCmd::activate() {
  if (!gui_) return false;
  const int32_t lengthUnit = UnitService::currentLengthUnit();
  SPtr<Scale> scale;
  SPtr<IZelMaterials> library;
  SPtr<IDataStore> store;
  ZelCString material;
  double held = kExpansionReferenceTemperature;
  if (scale) scale->material(material, held);
  // Without a material the compensation is off and the temperature held means nothing: a script that gave
  // none leaves -1 there.
  double celsius = material.isEmpty() ? kExpansionReferenceTemperature : held;
  if (material.isEmpty() && store) material = store->getNarrowString(kLastMaterialKey);

  double factor = 1.0;
  int32_t index = 0;
  std::optional<int32_t> found = library ? materialIndex(*library, material) : std::nullopt;
  if (!material.isEmpty() && found && scale) {
    const double alpha = thermalExpansionOf(material).value_or(0.0);
    factor = scale->matrix()->m[0];
    // Without expansion every temperature gives the factor 1, and the formula has no answer: the temperature
    // stays as the service keeps it.
    if (alpha != 0.0) celsius = kExpansionReferenceTemperature - (1.0 - 1.0 / factor) / alpha;
    index = *found;
  }
  gui_->setControlValue(kScaleFactor, factor);
  gui_->selectListEntry(kMaterialSelection, index);

  const int32_t stored = scale ? scale->units() : -1;
  const bool fahrenheit = stored == -1 ? lengthUnit == kInch || lengthUnit == kFoot : stored == kFahrenheit;
  showTemperature(celsius, fahrenheit ? kFahrenheit : kCelsius);
  return true;
}

void TemperatureCompensationCmd::showTemperature(double celsius, int32_t units) {
  units_ = units;
  const bool fahrenheit = units == kFahrenheit;
  gui_->setControlText(kTemperatureValue, tr(fahrenheit ? kFahrenheitLabel : kCelsiusLabel));
  gui_->setControlValue(kTemperatureValue, fahrenheit ? toFahrenheit(celsius) : celsius);
  gui_->selectListEntry(kUnitSelection, units);
}

double TemperatureCompensationCmd::shownCelsius() {
  double shown = 0.0;
  if (gui_) gui_->getControlValue(kTemperatureValue, &shown);
  return units_ == kFahrenheit ? toCelsius(shown) : shown;
}

ZelCString TemperatureCompensationCmd::selectedMaterial() {
  SPtr<IZelMaterials> library;
  if (!gui_ || !library) return ZelCString();
  const int32_t index = gui_->listSelection(kMaterialSelection);
  if (index < 0 || index >= library->count()) return ZelCString();
  return library->items()[index + 1]->name();
}

void TemperatureCompensationCmd::onGuiValue(int32_t id, double) {
  if (id == kTemperatureValue) updateScaleFactor();
}

void TemperatureCompensationCmd::onGuiValueChanged(int32_t id, int32_t index) {
  if (id == kMaterialSelection) updateScaleFactor();
  if (id == kUnitSelection && index != units_) changeUnits(index);
}

void TemperatureCompensationCmd::updateScaleFactor() {
  if (!gui_) return;
  const double alpha = thermalExpansionOf(selectedMaterial()).value_or(0.0);
  gui_->setControlValue(kScaleFactor, compensationScale(shownCelsius(), alpha));
}

void TemperatureCompensationCmd::changeUnits(int32_t units) {
  // The list holds two entries; any other index names no unit.
  if (units != kCelsius && units != kFahrenheit) return;
  showTemperature(shownCelsius(), units);
}

bool TemperatureCompensationCmd::apply() {
  const ZelCString material = selectedMaterial();
  if (material.isEmpty()) {
    reportUserError(tr("No material is selected: the temperature compensation is unchanged."));
    return false;
  }
  return compensate(material, shownCelsius(), units_);
}

bool TemperatureCompensationCmd::compensate(const ZelCString& material, double celsius, int32_t units) {
  const ZelString shownMaterial(material.c_str());
  if (!std::isfinite(celsius) || celsius < kAbsoluteZero) {
    reportUserError(
        tr("A part temperature of %1 \xB0"
           "C is not possible: the temperature compensation is unchanged.",
           ZelString::number(celsius)));
    return false;
  }
  const std::optional<double> alpha = thermalExpansionOf(material);
  if (!material.isEmpty() && !alpha) {
    reportUserError(
        tr("The material '%1' is not in the materials library: the temperature compensation is "
           "unchanged.",
           shownMaterial));
    return false;
  }
  if (alpha && !isSoundScale(compensationScale(celsius, *alpha))) {
    reportUserError(
        tr("Material %1 at %2 \xB0"
           "C gives no valid scale factor: the temperature compensation is unchanged.",
           shownMaterial, ZelString::number(celsius)));
    return false;
  }
  SPtr<Scale> scale;
  SPtr<IDataStore> store;
  if (scale) {
    scale->setMaterial(material, celsius);
    scale->setUnits(units);
  }
  if (store) store->setNarrowString(nullptr, kLastMaterialKey, material.c_str());
  return true;
}

IScriptCommand* TemperatureCompensationCmd::describeScriptCommand() {
  SPtr<IScriptFactory> factory;
  IScriptCommand* command = factory ? factory->create(kScriptName, 1) : nullptr;
  if (!command) return nullptr;
  command->declareString("Material", ZelCString(), IScriptCommand::kOptional);
  command->declareDouble("Temperature", -1.0, IScriptCommand::kOptional);
  command->declareString("Units", ZelCString(), IScriptCommand::kOptional);
  return command;
}

bool TemperatureCompensationCmd::runScriptCommand(IScriptCommand* command) {
  if (!command) return false;
  ZelCString material;
  double temperature = -1.0;
  ZelCString units;
  command->getString("Material", material);
  command->getDouble("Temperature", temperature);
  command->getString("Units", units);
  // A macro line without a word would switch the compensation off, which nobody asks for that way.
  if (material.isEmpty() && !command->isGiven("Temperature") && units.isEmpty()) {
    reportUserError(
        tr("The script command \"%1\" needs a \"Material\" of the materials library (%2) and a "
           "\"Temperature\": the temperature compensation is unchanged.",
           ZelString(kScriptName), materialNames()));
    return false;
  }
  // The declared default (-1 degrees) would compensate a part at room temperature by 0.25 mm a metre.
  if (!material.isEmpty() && !command->isGiven("Temperature")) {
    reportUserError(
        tr("The script command \"%1\" names the material '%2' but no \"Temperature\": the temperature "
           "compensation is unchanged.",
           ZelString(kScriptName), ZelString(material.c_str())));
    return false;
  }
  // A temperature meant for a part would otherwise switch the compensation off.
  if (material.isEmpty() && command->isGiven("Temperature")) {
    reportUserError(
        tr("The script command \"%1\" gives a \"Temperature\" but no \"Material\", which takes a "
           "material of the materials library: %2. The temperature compensation is unchanged.",
           ZelString(kScriptName), materialNames()));
    return false;
  }
  // Units alone would switch an active compensation off, as a script without a material does.
  if (!units.isEmpty() && !command->isGiven("Temperature")) {
    reportUserError(tr(
        "The script command \"%1\" gives \"Units\" but no \"Temperature\": the temperature compensation is "
        "unchanged.",
        ZelString(kScriptName)));
    return false;
  }
  const std::optional<int32_t> scriptUnits = unitsOfWord(units);
  // 77 read as Celsius where Fahrenheit was meant shrinks every length by 0.07 % of steel.
  if (!scriptUnits) {
    reportUserError(
        tr("The script command \"%1\" takes \"Units\" as \"Celsius\" or \"Fahrenheit\", not '%2': "
           "the temperature compensation is unchanged.",
           ZelString(kScriptName), ZelString(units.c_str())));
    return false;
  }
  const bool fahrenheit = *scriptUnits == kFahrenheit;
  return compensate(material, fahrenheit ? toCelsius(temperature) : temperature, *scriptUnits);
}

void TemperatureCompensationCmd::recordScriptCommand(IScriptCommand* command) {
  if (!command || !gui_) return;
  double shown = 0.0;
  gui_->getControlValue(kTemperatureValue, &shown);
  command->setString("Material", selectedMaterial());
  command->setDouble("Temperature", shown);
  command->setString("Units", ZelCString(units_ == kCelsius ? kCelsiusWord : kFahrenheitWord));
}

void TemperatureCompensationCmd::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain
      .classLeaf(interfaceName, static_cast<TemperatureCompensationCmd*>(this),
                 static_cast<IZelUnknown*>(this))
      .offer<IScriptable>(this);
  queryCommandChain(chain);
}
