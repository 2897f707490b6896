#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "host/data_item_text.h"
#include "support/run_tool.h"

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CommandLineSettings, PrintsEveryRegistrationOfTheGroupAsTheCheckedInListingSays) {
  int status = -1;
  std::string output = runTool("--settings", status);
  EXPECT_EQ(status, 0) << output;
  std::string expected =
      readFile(std::string(PALPERA_TEST_SOURCE_DIR) + "/host/expected/palpera-settings.tsv");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(output, expected);
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 104);
}

TEST(CommandLineSettings, ActionsRunInTheOrderGiven) {
  int status = -1;
  std::string output = runTool("--settings --info", status);
  EXPECT_EQ(status, 0) << output;
  size_t settings = output.find("Palpera\tgroup\t\t\t\t\n");
  size_t info = output.find("module: palpera\n");
  ASSERT_NE(settings, std::string::npos) << output;
  ASSERT_NE(info, std::string::npos) << output;
  EXPECT_LT(settings, info);
}

TEST(SettingsLine, EveryKindHasSixFieldsAndTextCannotBreakTheLine) {
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
}

TEST(SettingsLine, DoublesRoundTripAndIntegersKeepTheirSign) {
  DataItemRegistration rate{"G/Rate", DoubleItem{0.1, -1.0 / 3.0, 3.4028234663852886e38}, 3};
  EXPECT_EQ(registrationLine(rate),
            "G/Rate\tdouble\t0.10000000000000001\t-0.33333333333333331\t3.4028234663852886e+38\t3");
  DataItemRegistration count{"G/Count", IntItem{-5, INT32_MIN, INT32_MAX}, 0};
  EXPECT_EQ(registrationLine(count), "G/Count\tint\t-5\t-2147483648\t2147483647\t0");
}

}  // namespace
