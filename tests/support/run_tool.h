#pragma once

// Runs the built command-line host with arguments, as a person would, and answers what it printed (standard
// output and standard error together); status receives its exit status as pclose gives it. The host runs in
// directory when one is given, so relative paths in its arguments and scripts are taken from there.

#include <cstdio>
#include <memory>
#include <string>

inline std::string runTool(const std::string& arguments, int& status, const std::string& directory = {}) {
  std::string command = std::string(PALPERA_HOST_TOOL) + " " + arguments + " 2>&1";
  if (!directory.empty()) command = "cd '" + directory + "' && " + command;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[512];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  status = pclose(pipe.release());
  return output;
}
