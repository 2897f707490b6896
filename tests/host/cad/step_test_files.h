#pragma once

// What the STEP tests share: the folder of the files they read, and the check that a file is refused.

#include <gtest/gtest.h>

#include <string>

#include "host/cad/cad_model.h"
#include "host/standin_host.h"
#include "support/scratch_directory.h"
#include "test_paths.h"

// The folder of the STEP files the CAD tests read.
inline const std::string kStepDir = std::string(PALPERA_TEST_SOURCE_DIR) + "/host/cad/step/";

// Loads the text as a STEP file and expects it refused for the reason, the document left empty.
inline void expectRefused(const std::string& text, const std::string& reason) {
  ScratchDirectory scratch;
  StandinHost host;
  scratch.write("part.step", text);
  try {
    loadCadModel(host.document().doc(), u"Part", scratch.system("part.step"));
    ADD_FAILURE() << "loaded";
  } catch (const CadFileError& error) {
    EXPECT_EQ(error.reason(), reason);
  }
  EXPECT_EQ(host.document().doc().objectCount(), 0);
}
