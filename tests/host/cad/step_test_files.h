#pragma once

#include <string>

#include "test_paths.h"

// The folder of the STEP files the CAD tests read.
inline const std::string kStepDir = std::string(PALPERA_TEST_SOURCE_DIR) + "/host/cad/step/";
