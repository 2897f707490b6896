#include "host/core/user_settings_file.h"
#include "host/core/user_settings_store.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <latch>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "support/run_tool.h"
#include "support/sanitized.h"
#include "support/scratch_directory.h"
#include "support/text.h"

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

  // What the file is given: the user settings this run wrote to another value than the one they hold from
  // it (a refused one holds none), in registration order; the file keeps every other line as it is.
  EXPECT_TRUE(store.changedUserSettings().empty());
  store.setInt(nullptr, "G/Early", 7);
  store.setInt(nullptr, "G/NotUser", 2);
  store.setDouble(nullptr, "G/Nan", 1.5);
  store.setInt(nullptr, "G/Clamped", 2);
  std::vector<std::string> keys;
  for (const HostDataStore::SettingChange& change : store.changedUserSettings())
    keys.push_back(change.setting.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"G/Clamped", "G/Nan"}));
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
  EXPECT_NE(kept.find("broken line\n"), std::string::npos) << kept;        // kept as written
  struct stat status2 {};
  ASSERT_EQ(stat(path.c_str(), &status2), 0);
  EXPECT_EQ(status2.st_mode & 0777, 0640u);

  // A plug-in the store names that this host has not installed: the run takes another and says so, and the
  // store keeps the user's choice.
  const std::string startScript = scratch.system("start.script");
  writeText(startScript, "start\nset \"General/Decimal Places\" 5\n");
  writeText(path, "Palpera/ActivePlugin\tstring\tArm 7\n");
  output = runTool("--store '" + path + "' --script '" + startScript + "'", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("warning: the module's start-up set Palpera/ActivePlugin to Hard Probe Emulator in "
                        "place of the stored Arm 7; the store keeps Arm 7\n"),
            std::string::npos)
      << output;
  EXPECT_EQ(readFile(path), "Palpera/ActivePlugin\tstring\tArm 7\nGeneral/Decimal Places\tint\t5\n");

  // UTF-16 is named, and the file left as it is.
  const std::string wide = utf16("General/Decimal Places\tint\t3\n");
  writeText(path, wide);
  output = runTool("--store '" + path + "' --script '" + startScript + "'", status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(output.find("cannot read the store: " + path + ": the text is UTF-16; save it as UTF-8"),
            std::string::npos)
      << output;
  EXPECT_EQ(readFile(path), wide);

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
    for (const std::string& line : {places + "int\t7\r\n", tolerance + "\tdouble\t" + value + "\r\n"})
      EXPECT_NE(file.find(line), std::string::npos) << file;
  }
}

// One store file through a run as the host makes it: read before the items are registered, then this run's
// writes, then (in some rows) another writer's file in its place, then written at the end. Every line is
// kept as written but the ones this run changed; what cannot be read is told by its line.
struct StoreCase {
  const char* name;
  std::optional<std::string> file;  // nothing: no file
  std::vector<StoredSetting> writes;
  std::optional<std::string> meanwhile;  // what another writer leaves in the file before the end
  bool readable;
  std::vector<StoredSetting> read;   // values the items hold once registered
  std::vector<std::string> told;     // at reading and registration, in order
  std::optional<std::string> after;  // the file at the end; nothing: as it was (or as meanwhile left it)
  std::vector<std::string> conflicts = {};
};

TEST(UserSettingsStoreFile, EveryLineIsKeptAsWrittenAndOnlyTheRunsChangesGoOverWhatTheFileHoldsAtTheEnd) {
  const std::string wideBigEndian = std::string("\xFE\xFF\0G\0/\0I\0n\0t\0\t\0i\0n\0t\0\t\0009\0\n", 26);
  const std::string heading = "# palpera-host user settings: key, kind, value; one a line, tab-separated\n";
  const std::string maxDouble = "3.4028234663852886e+38";
  const StoreCase cases[] = {
      {"CR alone ends a line",
       "G/Int\tint\t9\rG/Double\tdouble\t0.5\r",
       {{"G/Text", u"x"}},
       {},
       true,
       {{"G/Int", 9}, {"G/Double", 0.5}},
       {},
       "G/Int\tint\t9\rG/Double\tdouble\t0.5\rG/Text\tstring\tx\r"},
      {"CR LF, CR and LF in one file",
       "G/Int\tint\t9\r\nG/Double\tdouble\t0.5\rG/Text\tstring\tab\n",
       {{"G/Int", 10}},
       {},
       true,
       {{"G/Int", 9}, {"G/Double", 0.5}, {"G/Text", u"ab"}},
       {},
       "G/Int\tint\t10\r\nG/Double\tdouble\t0.5\rG/Text\tstring\tab\n"},
      {"a byte order mark",
       "\xEF\xBB\xBFG/Int\tint\t9",
       {{"G/Double", 2.0}},
       {},
       true,
       {{"G/Int", 9}},
       {},
       "\xEF\xBB\xBFG/Int\tint\t9\nG/Double\tdouble\t2\n"},
      {"UTF-16, little-endian",
       utf16("G/Int\tint\t9\n"),
       {},
       {},
       false,
       {{"G/Int", 16}},
       {"store.txt: the text is UTF-16; save it as UTF-8"},
       {}},
      {"UTF-16, big-endian with its mark",
       wideBigEndian,
       {},
       {},
       false,
       {{"G/Int", 16}},
       {"store.txt: the text is UTF-16; save it as UTF-8"},
       {}},
      {"UTF-32, big-endian without a mark",
       std::string("\0\0\0G\0\0\0/\0\0\0I", 12),
       {},
       {},
       false,
       {{"G/Int", 16}},
       {"store.txt: the text is UTF-32; save it as UTF-8"},
       {}},
      {"lines that cannot be read",
       "G/Double\tdouble\t1e400\nG/Double\tdouble\t+0.002\nG/Int\tint\t0x10\nG/Double\tdouble\t 0.5\n"
       "G/Int\tint\t22.0\nG/Blob\tblob\t123\n",
       {{"G/Blob", std::vector<uint8_t>{1, 2, 3, 4}}, {"G/Text", u"y"}},
       {},
       true,
       {{"G/Int", 16}, {"G/Double", 0.001}},
       {"store.txt:1: the value is no double; the line is kept as written",
        "store.txt:2: the value is no double", "store.txt:3: the value is no int",
        "store.txt:4: the value is no double", "store.txt:5: the value is no int",
        "store.txt:6: the value is no blob"},
       "G/Double\tdouble\t1e400\nG/Double\tdouble\t+0.002\nG/Int\tint\t0x10\nG/Double\tdouble\t 0.5\n"
       "G/Int\tint\t22.0\nG/Blob\tblob\t01020304\nG/Text\tstring\ty\n"},
      {"a key given again",
       "# mine\nG/Int\tint\t9\nG/Double\tdouble\t1\nG/Int\tint\t12\n",
       {},
       {},
       true,
       {{"G/Int", 12}},
       {"store.txt:4: G/Int is given again (first on line 2); this line holds"},
       {}},
      {"each range's minimum",
       "G/Int\tint\t8\nG/Double\tdouble\t0\n",
       {},
       {},
       true,
       {{"G/Int", 8}, {"G/Double", 0.0}},
       {},
       {}},
      {"each range's maximum",
       "G/Int\tint\t72\nG/Double\tdouble\t" + maxDouble + "\n",
       {},
       {},
       true,
       {{"G/Int", 72}, {"G/Double", 3.4028234663852886e38}},
       {},
       {}},
      {"refused values, one written over",
       "G/Int\tint\t73\nG/Double\tdouble\tnan\n",
       {{"G/Double", 0.5}},
       {},
       true,
       {{"G/Int", 16}, {"G/Double", 0.001}},
       {"store.txt:1: G/Int: 73 lies outside 8 to 72; the default 16 is kept",
        "store.txt:2: G/Double: nan is not a finite number; the default 0.001 is kept"},
       "G/Int\tint\t73\nG/Double\tdouble\t0.5\n"},
      {"another writer's keys and values",
       "G/Int\tint\t9\n",
       {{"G/Double", 0.5}, {"G/Int", 9}},
       "G/Int\tint\t11\nG/Text\tstring\tother\n",
       true,
       {{"G/Int", 9}},
       {},
       "G/Int\tint\t11\nG/Text\tstring\tother\nG/Double\tdouble\t0.5\n"},
      {"another writer on the same key",
       "G/Int\tint\t9\nG/Text\tstring\tt\n",
       {{"G/Int", 10}, {"G/Text", u"u"}},
       "G/Int\tint\t11\nG/Text\tstring\tu\n",
       true,
       {{"G/Int", 9}},
       {},
       {},
       {"store.txt:1: G/Int: another writer changed the line while this run set it to 10; the file keeps its "
        "line"}},
      {"another writer removing the key",
       "G/Int\tint\t9\n",
       {{"G/Int", 10}},
       "",
       true,
       {{"G/Int", 9}},
       {},
       {},
       {"store.txt: G/Int: another writer removed its line while this run set it to 10; the file stays so"}},
      {"no file yet", {}, {{"G/Int", 10}}, {}, true, {{"G/Int", 16}}, {}, heading + "G/Int\tint\t10\n"},
      {"a NUL before the first key is no UTF-16",
       std::string(1, '\0') + "G/Int\tint\t9\nG/Double\tdouble\t0.5\n",
       {},
       {},
       true,
       {{"G/Int", 16}, {"G/Double", 0.5}},
       {"store.txt:1: \"" + std::string(1, '\0') +
        "G/Int\" is no setting: without its invisible characters (U+0000) it is G/Int, which keeps 16"},
       {}},
      {"a refused text whose default is empty",
       "G/Text\tint\t5\n",
       {},
       {},
       true,
       {{"G/Text", u""}},
       {"store.txt:1: G/Text: a value of kind int for an item of kind string; the default the empty value is "
        "kept"},
       {}},
      {"keys that mean settings but for what no one sees",
       "\xEF\xBB\xBF\xEF\xBB\xBFG/Int\tint\t9\nG/Double \tdouble\t0.5\nG/\xE2\x80\x8BText\tstring\tx\n",
       {},
       {},
       true,
       {{"G/Int", 16}, {"G/Double", 0.001}, {"G/Text", u""}},
       {"store.txt:2: \"G/Double \" is no setting: without its invisible characters (U+0020) it is G/Double, "
        "which keeps 0.001",
        "store.txt:3: \"G/\xE2\x80\x8BText\" is no setting: without its invisible characters (U+200B) it is "
        "G/Text, which keeps the empty value",
        "store.txt:1: \"\xEF\xBB\xBFG/Int\" is no setting: without its invisible characters (U+FEFF) it is "
        "G/Int, "
        "which keeps 16"},
       {}},
      {"a key given again, changed by the run",
       "G/Int\tint\t9\nG/Int\tint\t12\n",
       {{"G/Int", 20}},
       {},
       true,
       {{"G/Int", 12}},
       {"store.txt:2: G/Int is given again (first on line 1); this line holds"},
       "G/Int\tint\t9\nG/Int\tint\t20\n"},
  };
  for (const StoreCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDirectory scratch;
    const std::string path = scratch.system("store.txt");
    if (c.file) writeText(path, *c.file);
    HostDataStore store;
    std::vector<std::string> told;
    store.setRefusalReceiver([&](const std::string& warning) { told.push_back(warning); });
    UserSettingsStore file(path);
    std::string error;
    EXPECT_EQ(file.load(store, told, error), c.readable);
    if (!error.empty()) told.push_back(error);
    store.addGroup("G");
    store.addIntItem("G/Int", 16, 8, 72, 3);
    store.addDoubleItem("G/Double", 0.001, 0, 3.4028234663852886e38, 3);
    store.addStringItem("G/Text", 256, ZelString(), 3);
    store.addBlobItem("G/Blob", 4, nullptr, 3);
    for (const std::string& unseen : store.keysMeaningSettingsUnseen()) told.push_back(unseen);
    for (const StoredSetting& expected : c.read)
      EXPECT_EQ(store.value(expected.key), expected.value) << expected.key;
    ASSERT_EQ(told.size(), c.told.size()) << ::testing::PrintToString(told);
    for (size_t i = 0; i < told.size(); ++i)
      EXPECT_EQ(told[i].find(scratch.system(c.told[i])), 0u) << told[i];
    if (!c.readable) {
      EXPECT_EQ(scratch.read("store.txt"), *c.file) << "never written over";
      continue;
    }
    for (const auto& [key, value] : c.writes) {
      if (auto* i = std::get_if<int32_t>(&value)) store.setInt(nullptr, key.c_str(), *i);
      if (auto* d = std::get_if<double>(&value)) store.setDouble(nullptr, key.c_str(), *d);
      if (auto* t = std::get_if<std::u16string>(&value))
        store.setString(nullptr, key.c_str(), ZelString(t->c_str()));
      if (auto* b = std::get_if<std::vector<uint8_t>>(&value))
        store.setBlob(nullptr, key.c_str(), b->data(), 4);
    }
    if (c.meanwhile) writeText(path, *c.meanwhile);
    std::vector<std::string> conflicts;
    EXPECT_TRUE(file.save(store, conflicts, error)) << error;
    EXPECT_EQ(scratch.read("store.txt"), c.after.value_or(c.meanwhile.value_or(c.file.value_or(""))));
    ASSERT_EQ(conflicts.size(), c.conflicts.size()) << ::testing::PrintToString(conflicts);
    for (size_t i = 0; i < conflicts.size(); ++i) EXPECT_EQ(conflicts[i], scratch.system(c.conflicts[i]));
  }
}

// One host on the store: its data store, holding one key of its own and the key all hosts share.
struct StoreHost {
  StoreHost(const std::string& path, int index) : file(path), own("H" + std::to_string(index) + "/Own") {
    std::vector<std::string> warnings;
    std::string error;
    EXPECT_TRUE(file.load(store, warnings, error)) << error;
    store.addGroup("G");
    store.addGroup(own.substr(0, own.find('/')).c_str());
    store.addIntItem("G/Shared", 0, 0, 1 << 30, 3);
    store.addIntItem(own.c_str(), 0, 0, 1 << 30, 3);
  }
  HostDataStore store;
  UserSettingsStore file;
  std::string own;
  std::vector<std::string> conflicts;
};

// Eight hosts on one store, again and again, each loading it before any saves, then all saving at once:
// however their saves interleave, every key of every host is in the file with the value its host last set,
// the shared key holds the value of one host that set it, and each other host that set it is told of the
// conflict.
TEST(UserSettingsStoreFile, HostsSavingAtOnceLoseNoKeyAndEveryConflictIsTold) {
  ScratchDirectory scratch;
  const std::string path = scratch.system("store.txt");
  std::mt19937 random(20261208);
  std::map<std::string, DataValue> expected;
  for (int round = 0; round < (kSanitized ? 25 : 100); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::vector<std::unique_ptr<StoreHost>> hosts;
    std::vector<DataValue> setsShared;
    for (int index = 0; index < 8; ++index) {
      StoreHost& host = *hosts.emplace_back(std::make_unique<StoreHost>(path, index));
      const int32_t own = static_cast<int32_t>(random() % 9999), shared = round * 8 + index + 1;
      if (random() % 3 != 0)
        host.store.setInt(nullptr, host.own.c_str(), std::get<int32_t>(expected[host.own] = own));
      if (random() % 2 == 0)
        host.store.setInt(nullptr, "G/Shared", std::get<int32_t>(setsShared.emplace_back(shared)));
    }
    std::latch together(8);
    std::vector<std::thread> saving;
    for (auto& host : hosts) {
      saving.emplace_back([&together, &host] {
        together.arrive_and_wait();
        std::string error;
        EXPECT_TRUE(host->file.save(host->store, host->conflicts, error)) << error;
      });
    }
    for (std::thread& thread : saving) thread.join();
    std::map<std::string, DataValue> held;
    for (const StoredSetting& setting : parseUserSettings(readFile(path)).settings)
      held[setting.key] = setting.value;
    for (const auto& [key, value] : expected) EXPECT_EQ(held[key], value) << key;
    size_t told = 0;
    for (const auto& host : hosts) told += host->conflicts.size();
    EXPECT_EQ(told, setsShared.empty() ? 0 : setsShared.size() - 1);
    if (!setsShared.empty()) {
      EXPECT_NE(std::find(setsShared.begin(), setsShared.end(), held["G/Shared"]), setsShared.end());
    }
  }
}

// The host runs a script from its input once it has read the store: another writer changes the store in
// between. What the host printed, and its exit status.
std::string hostOverAnotherWriter(const std::string& store, const std::string& script,
                                  const std::string& meanwhile, int& status) {
  const int watch = inotify_init1(IN_CLOEXEC);
  inotify_add_watch(watch, store.c_str(), IN_CLOSE_NOWRITE);
  int input[2], output[2];
  if (pipe(input) != 0 || pipe(output) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    dup2(input[0], STDIN_FILENO);
    dup2(output[1], STDOUT_FILENO);
    dup2(output[1], STDERR_FILENO);
    close(input[1]);
    close(output[0]);
    execl(PALPERA_HOST_TOOL, PALPERA_HOST_TOOL, "--store", store.c_str(), "--script", "-",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(input[0]);
  close(output[1]);
  pollfd read{watch, POLLIN, 0};
  char events[4096];
  EXPECT_EQ(poll(&read, 1, 20000), 1) << "the host never read the store";
  EXPECT_GT(::read(watch, events, sizeof events), 0);
  close(watch);
  writeText(store, meanwhile);
  EXPECT_EQ(write(input[1], script.data(), script.size()), static_cast<ssize_t>(script.size()));
  close(input[1]);
  std::string printed;
  char bytes[512];
  for (ssize_t got; (got = ::read(output[0], bytes, sizeof bytes)) > 0;) printed.append(bytes, got);
  close(output[0]);
  waitpid(child, &status, 0);
  return printed;
}

// A change the store does not take, as another writer changed its line meanwhile, is a failure of the run:
// told as such, not as a warning, and the host ends with status 1; a change to a key no one else touched is
// written all the same.
TEST(UserSettingsFile, AStoreConflictIsToldAsTheRunsFailureWithExitStatusOne) {
  ScratchDirectory scratch;
  const std::string store = scratch.system("store.txt");
  const std::string places = "General/Decimal Places\tint\t",
                    angle = "Palpera/FeatureMatching/MaxAngle\tdouble\t";
  writeText(store, places + "3\n");
  int status = -1;
  const std::string output = hostOverAnotherWriter(
      store, "set \"General/Decimal Places\" 5\nset Palpera/FeatureMatching/MaxAngle 7\n", places + "4\n",
      status);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << output;
  EXPECT_NE(
      output.find("palpera-host: store conflict: " + store +
                  ":1: General/Decimal Places: another writer changed the line while this run set it to 5; "
                  "the file keeps its line\n"),
      std::string::npos)
      << output;
  EXPECT_EQ(output.find("warning"), std::string::npos) << output;
  EXPECT_EQ(readFile(store), places + "4\n" + angle + "7\n");
}

}  // namespace
