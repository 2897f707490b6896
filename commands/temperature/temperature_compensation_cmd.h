#pragma once

// The host command "Temperature Compensation": the part's material and temperature, from which the scale
// alignment service takes the uniform scale that brings every device position back to the part's size at
// 20 degrees Celsius. The dialog shows the temperature in degrees Celsius or Fahrenheit and the scale it
// gives; nothing changes until Apply. The same is a script command, "temperature_compensation", with the
// arguments "Material" (the material's name), "Temperature" and "Units" ("Celsius" or "Fahrenheit" exactly;
// none is Celsius).
//
// A temperature below absolute zero or not a number, a material the library does not hold, or a pair that
// gives no scale a device transform can take is refused with a message and changes nothing, by Apply and by
// a script; so is a script run without any argument, one that names a material without a "Temperature", a
// "Temperature" without a material, or "Units" in another word, each message naming the argument and what it
// takes. Any other temperature is taken as given, asking nobody, so a macro runs unattended.
// The material last applied is kept in "Temperature Compensation/Last Material".
//
// Created by the host per use; main thread only.

#include <cstdint>

#include "basic_types/zel_cstring.h"
#include "framework/commands/comp_base_cmd.h"
#include "host_api/script_factory.h"

class TemperatureCompensationCmd : public CompBaseCmd, public virtual IScriptable {
 public:
  static constexpr const char* interfaceName = "TemperatureCompensationCmd";
  static constexpr const char* kScriptName = "temperature_compensation";
  static constexpr const char* kLastMaterialKey = "Temperature Compensation/Last Material";

  enum Control : int32_t {
    kMaterialSelection = 1,
    kTemperatureValue = 2,
    kScaleFactor = 3,
    kUnitSelection = 4
  };
  enum Units : int32_t { kCelsius = 0, kFahrenheit = 1 };

  // Registers the command's settings group (again, which the data store ignores, for every object).
  TemperatureCompensationCmd();

  // False inside another command or while the materials library is empty.
  bool canRun(IZelUnknown* context) override;
  void createGui(IGuiDialog* dialog) override;
  bool activate() override;
  // False, changing nothing, for no material selected or a temperature refused as above.
  bool apply() override;
  // The temperature entered.
  void onGuiValue(int32_t id, double value) override;
  // A list's entry chosen: the material, or the units.
  void onGuiValueChanged(int32_t id, int32_t index) override;

  IScriptCommand* describeScriptCommand() override;
  bool runScriptCommand(IScriptCommand* command) override;
  void recordScriptCommand(IScriptCommand* command) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void updateScaleFactor();
  void changeUnits(int32_t units);
  // Shows the temperature (degrees Celsius) in units, with the field's label and the units list to match.
  void showTemperature(double celsius, int32_t units);
  // The temperature shown, in degrees Celsius.
  double shownCelsius();
  // The key of the material selected in the list; empty when none is.
  ZelCString selectedMaterial();
  // Sets the scale service's material, temperature and units and keeps the material as the last one; false,
  // with a message and nothing changed, for a refused pair.
  bool compensate(const ZelCString& material, double celsius, int32_t units);

  int32_t units_ = kCelsius;
};
