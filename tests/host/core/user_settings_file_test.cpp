#include "host/core/user_settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(UserSettingsText, EveryKindRoundTripsAndABadLineIsSkippedByNumberWithItsNeighboursKept) {
  const std::vector<StoredSetting> settings = {
      {"G/Count", int32_t{-2147483647 - 1}},
      {"G/Rate", 0.1 + 0.2},
      {"G/Huge", 3.4028234663852886e38},
      {"G/Name", std::u16string(u"Sphere\tCenter \\3\n\u00e9\U0001F600")},
      {"G/Empty", std::u16string()},
      {"G/Bytes", std::vector<uint8_t>{0x00, 0xff, 0x7a}},
      {"G/With\ttab", int32_t{4}},
  };
  UserSettingsText back = parseUserSettings(formatUserSettings(settings));
  EXPECT_TRUE(back.faults.empty());
  ASSERT_EQ(back.settings.size(), settings.size());
  for (size_t i = 0; i < settings.size(); ++i) {
    SCOPED_TRACE(settings[i].key);
    EXPECT_EQ(back.settings[i].key, settings[i].key);
    EXPECT_EQ(back.settings[i].value, settings[i].value);
  }

  const std::string text =
      "# comment\n"
      "G/A\tint\t1\n"
      "G/B\tint\t1.5\n"          // 3: not whole
      "G/C\tdouble\t 2\n"        // 4: a blank
      "G/D\tlong\t2\n"           // 5: unknown kind
      "G/E\tstring\ta\\qb\n"     // 6: unknown escape
      "G/F\tstring\t\xff\n"      // 7: not UTF-8
      "G/G\tblob\t0g\n"          // 8: no hexadecimal
      "\tint\t1\n"               // 9: no key
      "G/H\tint\t1\textra\n"     // 10: four fields
      "G/I\tint\t99999999999\n"  // 11: beyond 32 bits
      "\n"
      "G/A\tint\t2\n"
      "G/J\tdouble\tnan\n"
      "G/K\tblob\t\n"
      "G/L\tstring\tlast";  // no line end
  UserSettingsText read = parseUserSettings(text);
  std::vector<size_t> badLines;
  for (const UserSettingsText::Fault& fault : read.faults) badLines.push_back(fault.line);
  EXPECT_EQ(badLines, (std::vector<size_t>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
  ASSERT_EQ(read.settings.size(), 4u);
  EXPECT_EQ(read.settings[0].key, "G/A");
  EXPECT_EQ(read.settings[0].value, DataValue(int32_t{2}));  // the later line holds
  EXPECT_TRUE(std::isnan(std::get<double>(read.settings[1].value)));
  EXPECT_EQ(read.settings[2].value, DataValue(std::vector<uint8_t>{}));
  EXPECT_EQ(read.settings[3].value, DataValue(std::u16string(u"last")));
}

// A value read waits for its item; the item's registration takes it as a write would.
TEST(UserSettingsStore, AWaitingValueIsTakenByItsUserSettingWithinRangeAndOfItsKindOnly) {
  HostDataStore store;
  store.addGroup("G");
  store.addIntItem("G/Early", 0, 0, 10, 3);
  store.preloadUserSetting("G/Early", int32_t{7});
  store.preloadUserSetting("G/Clamped", int32_t{50});
  store.preloadUserSetting("G/Nan", std::nan(""));
  store.preloadUserSetting("G/WrongKind", std::u16string(u"x"));
  store.preloadUserSetting("G/Cut", std::u16string(u"abcdef"));
  store.preloadUserSetting("G/Size", std::vector<uint8_t>{1, 2, 3});
  store.preloadUserSetting("G/NotUser", int32_t{5});
  store.preloadUserSetting("G/Never", 2.5);
  store.addIntItem("G/Clamped", 1, 0, 10, 3);
  store.addDoubleItem("G/Nan", 1.5, 0, 10, 3);
  store.addIntItem("G/WrongKind", 4, 0, 10, 3);
  store.addStringItem("G/Cut", 3, ZelString(), 3);
  store.addBlobItem("G/Size", 2, nullptr, 3);
  store.addIntItem("G/NotUser", 1, 0, 10, 0);
  EXPECT_EQ(store.getInt("G/Early", -1), 7);
  EXPECT_EQ(store.getInt("G/Clamped", -1), 1) << "a stored value beyond the range is refused, not clamped";
  EXPECT_EQ(store.getDouble("G/Nan", -1), 1.5);
  EXPECT_EQ(store.getInt("G/WrongKind", -1), 4);
  EXPECT_EQ(std::u16string(store.getString("G/Cut").c_str()), u"abc");
  bool found = true;
  store.getBlob("G/Size", nullptr, &found);
  EXPECT_FALSE(found);
  EXPECT_EQ(store.getInt("G/NotUser", -1), 1);

  // What the file keeps: registered user settings with a value or refused, in order, then what still waits.
  std::vector<std::string> keys;
  for (const StoredSetting& setting : store.userSettings()) keys.push_back(setting.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"G/Early", "G/Clamped", "G/Nan", "G/WrongKind", "G/Cut", "G/Size",
                                            "G/Never"}));
}

TEST(UserSettingsFile, TheHostKeepsSettingsAcrossRunsWarnsOfBadLinesAndNeverWritesOverWhatItCannotRead) {
  ScratchDirectory scratch;
  const std::string path = scratch.system("store.txt");
  const std::string setScript = scratch.system("set.script"), printScript = scratch.system("print.script");
  writeText(setScript, "set \"General/Decimal Places\" 7\n");
  writeText(printScript, "print settings \"General/Decimal Places\"\n");
  int status = -1;
  std::string output = runTool("--store '" + path + "' --script '" + setScript + "'", status);
  ASSERT_EQ(status, 0) << output;
  const std::string first = readFile(path);
  const std::string brokenLine = std::to_string(std::count(first.begin(), first.end(), '\n') + 2);
  writeText(path, first + "G/Unknown\tint\t5\nbroken line\n");
  chmod(path.c_str(), 0640);
  output = runTool("--store '" + path + "' --script '" + printScript + "'", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("General/Decimal Places\t7"), std::string::npos) << output;
  EXPECT_NE(output.find("warning: " + path + ":" + brokenLine + ": not three tab-separated fields"),
            std::string::npos)
      << output;
  const std::string kept = readFile(path);
  EXPECT_NE(kept.find("General/Decimal Places\tint\t7\n"), std::string::npos) << kept;
  EXPECT_NE(kept.find("G/Unknown\tint\t5\n"), std::string::npos) << kept;  // never registered, still kept
  EXPECT_EQ(kept.find("broken"), std::string::npos) << kept;
  struct stat status2 {};
  ASSERT_EQ(stat(path.c_str(), &status2), 0);
  EXPECT_EQ(status2.st_mode & 0777, 0640u);

  output = runTool("--store '" + scratch.system() + "' --info", status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(output.find("cannot read the store: " + scratch.system() + ": not a regular file"),
            std::string::npos)
      << output;
}

// CR LF line ends are line ends; a tolerance not finite or beyond its range would let every deviation pass or
// fail, so it keeps its default, with a warning naming its line, and the file keeps it.
TEST(UserSettingsFile, CrLfLinesAreReadAndAValueOutsideItsItemKeepsTheDefaultByLineAndStaysInTheFile) {
  ScratchDirectory scratch;
  const std::string path = scratch.system("store.txt"), script = scratch.system("print.script");
  const std::string places = "General/Decimal Places\t", tolerance = "Palpera/RealTimeDeviation/Tolerance";
  const std::string nan = "is not a finite number", beyond = "lies outside 0 to 3.4028234663852886e+38";
  writeText(script, "print settings \"General/Decimal Places\"\nprint settings " + tolerance + "\n");
  const std::pair<std::string, std::string> cases[] = {
      {"nan", nan}, {"inf", nan}, {"1e+308", beyond}, {"-1", beyond}, {"0.002", ""}};
  for (const auto& [value, reason] : cases) {
    SCOPED_TRACE(value);
    writeText(path,
              "# saved elsewhere\r\n" + places + "int\t7\r\n" + tolerance + "\tdouble\t" + value + "\r\n");
    int status = -1;
    const std::string output = runTool("--store '" + path + "' --script '" + script + "'", status);
    EXPECT_EQ(status, 0) << output;
    const size_t warned = output.find("warning: " + path + ":3: " + tolerance + ": " + value + " " + reason +
                                      "; the default 0.001 is kept\n");
    EXPECT_EQ(warned != std::string::npos, !reason.empty()) << output;
    const std::string taken = reason.empty() ? value : "0.001", file = readFile(path);
    EXPECT_NE(output.find(places + "7\n" + tolerance + "\t" + taken + "\n"), std::string::npos) << output;
    for (const std::string& line : {places + "int\t7\n", tolerance + "\tdouble\t" + value + "\n"})
      EXPECT_NE(file.find(line), std::string::npos) << file;
  }
}

}  // namespace
