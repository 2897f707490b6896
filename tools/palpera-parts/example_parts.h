#pragma once

// The example parts under examples/parts, built from the kernel's primitives and booleans, and a large part
// for measuring closest-point queries. Their nominal dimensions are documented in examples/parts/README.md.

#include <memory>
#include <string>
#include <vector>

#include "host/cad/brep_model.h"

// The file names of the example parts, without ".step".
std::vector<std::string> examplePartNames();
// Writes the part as dir/NAME.step; throws std::invalid_argument for an unknown name and CadFileError when
// the file cannot be written.
void writeExamplePart(const std::string& name, const std::string& dir);
// The model of the example part, as its file would give it; throws std::invalid_argument for an unknown name.
std::shared_ptr<const BrepModel> examplePartModel(const std::string& name);
// A grid of blocks, each alternately a box (6 faces) or a cylinder (3 faces), about `faces` faces in all.
std::shared_ptr<const BrepModel> blockGridModel(int faces);
