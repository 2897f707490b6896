#pragma once

// Runs the built command-line host with arguments, as a person would, and answers what it printed (standard
// output and standard error together); status receives its exit status as pclose gives it. The host runs in
// directory, so relative paths in its arguments and scripts are taken from there; by default in the project's
// examples, where the module finds the shipped materials file as under a host that has its data in place.
// A shell command before the host's, such as "ulimit -v 300000 && ", sets its limits.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "test_paths.h"

// The project's folder, which the examples and scripts the tests run are named from.
inline const std::string kProject = std::filesystem::path(PALPERA_TEST_SOURCE_DIR).parent_path().string();

inline std::string runTool(const std::string& arguments, int& status,
                           const std::string& directory = PALPERA_TEST_SOURCE_DIR "/../examples",
                           const std::string& before = "") {
  std::string command = "cd '" + directory + "' && " + before + PALPERA_HOST_TOOL + " " + arguments + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[512];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  status = pclose(pipe.release());
  return output;
}

// The bytes of a file, such as an expected output the project keeps; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
