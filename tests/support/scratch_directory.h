#pragma once

// A fresh directory for one test's files, removed with everything in it when the test ends.

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "basic_types/zel_string.h"
#include "platform/utf8.h"

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "palpera-test-XXXXXX").string();
    system_ = mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  ~ScratchDirectory() {
    std::error_code ignored;
    if (!system_.empty()) std::filesystem::remove_all(system_, ignored);
  }

  // The directory as the system names it ("/tmp/palpera-test-ab12cd").
  const std::string& system() const { return system_; }
  std::string system(const std::string& name) const { return system_ + "/" + name; }
  // A name in it in the module's backslash form ("\tmp\palpera-test-ab12cd\name").
  ZelString module(const std::string& name = "") const {
    std::u16string path = platform::fromUtf8(name.empty() ? system_ : system(name));
    for (char16_t& unit : path)
      if (unit == u'/') unit = u'\\';
    ZelString result;
    result.setBuffer(path.c_str(), static_cast<int32_t>(path.size()));
    return result;
  }

  // The bytes of a file in it; empty when it cannot be read.
  std::string read(const std::string& name) const {
    std::ifstream in(system(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(system(name), std::ios::binary) << bytes;
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(system(name)); }
  // The names in it, or in a folder in it, sorted, so that nothing left beside a file goes unseen.
  std::vector<std::string> names(const std::string& folder = "") const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder.empty() ? system_ : system(folder)))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }

 private:
  std::string system_;
};
