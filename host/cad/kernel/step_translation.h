#pragma once

// What the child process that reads a STEP file does with it, and how it tells the host: everything the
// kernel does with a file it may spin on (the translation, the model built from its shape, the mesh, the
// boxes) happens there, under the host's time limit, so that the host itself only reads back a shape that
// has been built once already.

#include <string>

#include "host/cad/kernel/step_units.h"

// How the translating child process ends, by the reason it gives.
enum Translation : int {
  kTranslated = 0,
  kUnreadable = 10,
  kNoShape = 11,
  kUnwritable = 12,
  kUnitsNotTaken = 13,
  kRefused = 14,  // the report holds the reason
};

// Reads the file in metres, with the units the host worked out, and builds its model once. On kTranslated
// the shape (without its mesh) is in shapePath and the report holds a warning naming the faces the kernel
// dropped, or nothing; on kRefused the report holds the reason.
Translation translateStepFile(const std::string& path, const std::string& what, const StepUnits& units,
                              const std::string& shapePath, const std::string& reportPath);
