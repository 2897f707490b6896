#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "host/core/data_item_text.h"
#include "support/run_tool.h"

namespace {

// The actions run in the order given: the settings listing first, then the module's identity.
TEST(CommandLineHost, PrintsEveryRegistrationOfTheGroupAsCheckedInThenTheModulesIdentity) {
  std::string expected =
      readFile(std::string(PALPERA_TEST_SOURCE_DIR) + "/host/expected/palpera-settings.tsv");
  ASSERT_FALSE(expected.empty());
  int status = -1;
  std::string output = runTool("--settings --info", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(output.substr(0, expected.size()), expected);
  EXPECT_EQ(output.find("module: palpera\nbuild stamp: 2011-10-27 13:41\ninterface version: 100\n"),
            expected.size())
      << output;
}

TEST(CommandLineHost, AWrongCommandLineIsSaidOnceOnOneLineAndMissingModulesFailWithAMessage) {
  const std::pair<const char*, const char*> cases[] = {
      {"--bogus", "unknown option '--bogus'"},
      {"--info --script", "missing argument: --script FILE"},
      {"--module", "missing argument: --module PATH"},
      {"--info '\033[2J'", "unknown option '\\x1B[2J'"},
  };
  int status = 0;
  for (const auto& [arguments, fault] : cases) {
    std::string output = runTool(arguments, status);
    EXPECT_EQ(WEXITSTATUS(status), 2) << arguments;
    EXPECT_EQ(output, std::string("palpera-host: ") + fault +
                          "\n(palpera-host without arguments prints the usage)\n");
  }
  std::string output = runTool("--module /nonexistent.so --info", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("cannot load the module"), std::string::npos) << output;
}

TEST(SettingsLine, EveryKindHasSixFieldsDoublesRoundTripAndTextCannotBreakTheLine) {
  DataItemRegistration text{"G/Name", StringItem{u"a\tb\\c\nd\u00e9", 16}, 3};
  EXPECT_EQ(registrationLine(text), "G/Name\tstring\ta\\tb\\\\c\\nd\xc3\xa9\t\t16\t3");
  DataItemRegistration blob{"G/Bytes", BlobItem{2, std::vector<uint8_t>{0x0f, 0xa0}}, 1};
  EXPECT_EQ(registrationLine(blob), "G/Bytes\tblob\t0fa0\t\t2\t1");
  DataItemRegistration noDefault{"G/Empty", BlobItem{128, std::nullopt}, 0};
  EXPECT_EQ(registrationLine(noDefault), "G/Empty\tblob\t\t\t128\t0");
  DataItemRegistration object{"G/Object", ObjectItem{}, 2};
  EXPECT_EQ(registrationLine(object), "G/Object\tobject\t\t\t\t2");
  DataItemRegistration event{"G/Fired", EventItem{}, 0};
  EXPECT_EQ(registrationLine(event), "G/Fired\tevent\t\t\t\t");
  // Doubles print as the shortest text that reads back to the same double.
  DataItemRegistration rate{"G/Rate", DoubleItem{0.1, -1.0 / 3.0, 3.4028234663852886e38}, 3};
  EXPECT_EQ(registrationLine(rate), "G/Rate\tdouble\t0.1\t-0.3333333333333333\t3.4028234663852886e+38\t3");
  const std::pair<double, const char*> shortest[] = {
      {0.006, "0.006"}, {0.1 + 0.2, "0.30000000000000004"}, {100.0, "100"}, {5e-324, "5e-324"}, {-0.0, "-0"}};
  for (const auto& [value, text] : shortest) {
    EXPECT_EQ(doubleText(value), text);
    EXPECT_EQ(std::strtod(text, nullptr), value) << text;
  }
  DataItemRegistration count{"G/Count", IntItem{-5, INT32_MIN, INT32_MAX}, 0};
  EXPECT_EQ(registrationLine(count), "G/Count\tint\t-5\t-2147483648\t2147483647\t0");
}

}  // namespace
