#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <string>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// Runs a script in the project's examples, where the module finds the shipped materials.
std::string runScript(const ScratchDirectory& scratch, const std::string& script, int& exitStatus) {
  std::ofstream(scratch.system("session.script")) << script;
  int status = -1;
  std::string output = runTool("--script " + scratch.system("session.script"), status);
  exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

TEST(ScriptCommandLines, AScriptCommandRunsWithItsNamedArgumentsAndARecordRunsAgain) {
  ScratchDirectory scratch;
  int status = -1;
  std::string output = runScript(scratch,
                                 "script-command TemperatureCompensationCmd Material=Steel Temperature=77 "
                                 "Units=Fahrenheit\n"
                                 "print settings \"Temperature Compensation/Last Material\"\n"
                                 "command TemperatureCompensationCmd\n"
                                 "print dialog\n"
                                 "value TemperatureValue 77\n"
                                 "record-command\n"
                                 "cancel\n",
                                 status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("Temperature Compensation/Last Material\tSteel\n"), std::string::npos) << output;
  EXPECT_NE(output.find("\tPart Temperature (\xC2\xB0"
                        "F)\tshown 77.0000\t"),
            std::string::npos)
      << "the scale service keeps the units: " << output;
  EXPECT_NE(output.find("temperature_compensation\tMaterial=Steel\tTemperature=77\tUnits=Fahrenheit\n"),
            std::string::npos)
      << output;
}

TEST(ScriptCommandLines, AnUnknownArgumentOrARefusedRunFailsTheLine) {
  ScratchDirectory scratch;
  const std::string script = scratch.system("session.script");
  int status = -1;
  std::string output = runScript(scratch, "script-command TemperatureCompensationCmd Colour=red\n", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find(script + ":1: temperature_compensation has no argument 'Colour'"), std::string::npos)
      << output;

  output =
      runScript(scratch, "script-command TemperatureCompensationCmd Material=Steal Temperature=20\n", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("The material 'Steal' is not in the materials library"), std::string::npos) << output;
  EXPECT_NE(output.find(script + ":1: temperature_compensation did not run"), std::string::npos) << output;

  output = runScript(scratch, "script-command PalperaManageTransformCmd\n", status);
  EXPECT_EQ(status, 1);
  EXPECT_NE(output.find("'PalperaManageTransformCmd' is no IScriptable"), std::string::npos) << output;
}

// A macro's slips: a unit word the command does not know, a temperature with no material, and a unit word
// with no temperature. Each fails its line and says which argument it is and what it takes.
TEST(ScriptCommandLines, AnUnknownUnitsWordOrATemperatureWithoutMaterialFailsTheLineSayingWhatItTakes) {
  const char* const slips[] = {
      "Material=Steel Temperature=77 Units=fahrenheit", "Material=Steel Temperature=77 Units=F",
      "Material=Steel Temperature=77 Units=Kelvin", "Temperature=77 Units=Fahrenheit", "Units=Fahrenheit"};
  for (const char* slip : slips) {
    SCOPED_TRACE(slip);
    ScratchDirectory scratch;
    int status = -1;
    const std::string output = runScript(scratch,
                                         "script-command TemperatureCompensationCmd Material=Brass "
                                         "Temperature=25\nscript-command TemperatureCompensationCmd " +
                                             std::string(slip) + "\n",
                                         status);
    EXPECT_EQ(status, 1);
    const std::string given(slip);
    const std::string reason =
        given.find("Temperature") == std::string::npos
            ? "gives \"Units\" but no \"Temperature\": the temperature compensation is unchanged."
        : given.find("Material") == std::string::npos
            ? "gives a \"Temperature\" but no \"Material\", which takes a material of the materials library: "
              "Steel, "
            : "takes \"Units\" as \"Celsius\" or \"Fahrenheit\", not '";
    EXPECT_NE(output.find("The script command \"temperature_compensation\" " + reason), std::string::npos)
        << output;
    EXPECT_NE(output.find(scratch.system("session.script") + ":2: temperature_compensation did not run"),
              std::string::npos)
        << output;
  }
}

}  // namespace
