#pragma once

// A folder in the temporary folder named after the running test, for death tests: the child of a death test
// runs the test's set-up again in a process of its own, and finds there the folder its parent made, where a
// fresh scratch directory would be one more that nobody removes (the child ends without destructors). The
// parent removes it with everything in it. Tests that run at once in parallel processes have distinct suite
// and test names.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

class TestNamedFolder {
 public:
  explicit TestNamedFolder(const std::string& prefix) : system_(::testing::TempDir() + prefix + testName()) {
    std::filesystem::create_directories(system_);
  }
  TestNamedFolder(const TestNamedFolder&) = delete;
  TestNamedFolder& operator=(const TestNamedFolder&) = delete;
  ~TestNamedFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(system_, ignored);
  }

  const std::string& system() const { return system_; }
  std::string system(const std::string& name) const { return system_ + "/" + name; }

 private:
  static std::string testName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    std::replace(name.begin(), name.end(), '/', '-');  // a parameterised test's names hold slashes
    return name;
  }

  std::string system_;
};
