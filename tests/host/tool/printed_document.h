#pragma once

// Reading back what palpera-host's `print document` prints: each object's features, with each field's
// numbers; and the printout without what the host wrote to standard error between its lines.

#include <map>
#include <sstream>
#include <string>
#include <vector>

// A feature line of `print document`: "\tKIND\tNAME\tVISIBILITY\tFIELD VALUE..." with each value's numbers.
struct PrintedFeature {
  std::string kind, name, visibility;
  std::map<std::string, std::vector<double>> fields;
};

inline PrintedFeature featureOf(const std::string& line) {
  std::vector<std::string> cells;
  std::istringstream in(line.substr(1));
  for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
  PrintedFeature feature;
  if (cells.size() < 3) return feature;
  feature.kind = cells[0], feature.name = cells[1], feature.visibility = cells[2];
  for (size_t i = 3; i < cells.size(); ++i) {
    std::string cell = cells[i];
    // A field's name may be words ("start radius"): it ends before its value, a vector's or the last word.
    const size_t vector = cell.find(" ("), space = vector != std::string::npos ? vector : cell.rfind(' ');
    if (space == std::string::npos) continue;
    for (char& c : cell) c = (c == '(' || c == ')' || c == ',') ? ' ' : c;
    std::istringstream numbers(cell.substr(space));
    std::vector<double>& values = feature.fields[cell.substr(0, space)];
    for (double value; numbers >> value;) values.push_back(value);
  }
  return feature;
}

// The features printed under each object, by the object's name.
inline std::map<std::string, std::vector<PrintedFeature>> documentOf(const std::string& output) {
  std::map<std::string, std::vector<PrintedFeature>> objects;
  std::istringstream lines(output);
  std::string line, object;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    if (line[0] == '\t') {
      objects[object].push_back(featureOf(line));
    } else {
      object = line.substr(line.find('\t') + 1);
    }
  }
  return objects;
}

// The host's printout without the lines it wrote to standard error, each of which may stand anywhere in a
// line of the document, even between "radius" and its value.
inline std::string withoutErrors(std::string output) {
  for (const std::string said : {"error: ", "palpera-host: "}) {
    for (size_t at = output.find(said); at != std::string::npos; at = output.find(said, at)) {
      const size_t end = output.find('\n', at);
      output.erase(at, end == std::string::npos ? end : end - at + 1);
    }
  }
  return output;
}
