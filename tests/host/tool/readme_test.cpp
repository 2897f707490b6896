#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

// Named: the host tests are built together, and their helpers share names.
namespace readme {

constexpr const char* kMarker = "<!-- output of: ";

using Lines = std::vector<std::string>;

// An output the README shows: the fenced block after a note "<!-- output of: ARGUMENTS -->". With the
// arguments "--script -" the script is the fenced block before the note.
struct Example {
  int line;  // of the note, from 1
  std::string arguments;
  std::string script;
  Lines expected;
};

// The lines of the fenced block that starts at lines[at] (its ``` line), and at past its closing line.
Lines fencedBlock(const Lines& lines, size_t& at) {
  Lines block;
  for (++at; at < lines.size() && lines[at] != "```"; ++at) block.push_back(lines[at]);
  ++at;
  return block;
}

std::vector<Example> examplesOf(const std::string& readme) {
  Lines lines;
  std::istringstream in(readme);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::vector<Example> examples;
  Lines lastBlock;
  for (size_t at = 0; at < lines.size();) {
    if (lines[at].rfind("```", 0) == 0) {
      lastBlock = fencedBlock(lines, at);
      continue;
    }
    if (lines[at].rfind(kMarker, 0) != 0) {
      ++at;
      continue;
    }
    Example example{static_cast<int>(at) + 1, lines[at].substr(std::string(kMarker).size()), "", {}};
    example.arguments.erase(example.arguments.rfind(" -->"));
    for (const std::string& line : lastBlock) example.script += line + "\n";
    if (++at < lines.size() && lines[at].rfind("```", 0) == 0) example.expected = fencedBlock(lines, at);
    examples.push_back(example);
  }
  return examples;
}

// Whether actual is expected, where a line "..." of expected stands for any number of lines.
bool matches(const Lines& expected, size_t e, const Lines& actual, size_t a) {
  if (e == expected.size()) return a == actual.size();
  if (expected[e] == "...") {
    for (size_t skip = a; skip <= actual.size(); ++skip) {
      if (matches(expected, e + 1, actual, skip)) return true;
    }
    return false;
  }
  return a < actual.size() && expected[e] == actual[a] && matches(expected, e + 1, actual, a + 1);
}

Lines linesOf(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(Readme, TheElisionMatchesAnyRunOfLinesAndNothingElse) {
  const Lines actual{"a", "b", "c", "d"};
  EXPECT_TRUE(matches({"a", "...", "d"}, 0, actual, 0));
  EXPECT_TRUE(matches({"...", "b", "...", "c", "d", "..."}, 0, actual, 0));
  EXPECT_FALSE(matches({"a", "...", "c"}, 0, actual, 0)) << "the last line must match";
  EXPECT_FALSE(matches({"a", "c", "..."}, 0, actual, 0)) << "lines between must be elided";
  EXPECT_FALSE(matches({"a", "b", "c", "d", "e"}, 0, actual, 0));
}

// The arguments with each word "build/..." in the folder of the build under test, which need not be build/.
std::string inTestedBuild(const std::string& arguments) {
  const std::string folder = std::filesystem::path(PALPERA_HOST_TOOL).parent_path().string() + "/";
  std::string out;
  std::istringstream words(arguments);
  for (std::string word; words >> word;) {
    if (word.rfind("build/", 0) == 0) word = folder + word.substr(6);
    out += (out.empty() ? "" : " ") + word;
  }
  return out;
}

// What a newcomer reads is what the program prints: every shown output, run as shown, in a folder laid out as
// the project's after make: its examples, and a build/ that the examples may write in. The tested build may
// stand anywhere, under any name.
TEST(Readme, EveryOutputItShowsIsWhatTheProgramPrints) {
  const std::vector<Example> examples = examplesOf(readFile(kProject + "/README.md"));
  ASSERT_GE(examples.size(), 5u) << "the README's checked outputs were not found";
  ScratchDirectory scratch;
  std::filesystem::create_directory_symlink(kProject + "/examples", scratch.system("examples"));
  std::filesystem::create_directory(scratch.system("build"));
  for (const Example& example : examples) {
    SCOPED_TRACE("README.md:" + std::to_string(example.line) + ": palpera-host " + example.arguments);
    ASSERT_FALSE(example.expected.empty()) << "no fenced block follows the note";
    std::string arguments = inTestedBuild(example.arguments);
    if (arguments.find("--script -") != std::string::npos) {
      std::ofstream(scratch.system("readme.script")) << example.script;
      arguments += " < " + scratch.system("readme.script");
    }
    int status = -1;
    const std::string output = runTool(arguments, status, scratch.system());
    EXPECT_EQ(WEXITSTATUS(status), 0) << output;
    EXPECT_TRUE(matches(example.expected, 0, linesOf(output), 0)) << output;
  }
}

}  // namespace readme
