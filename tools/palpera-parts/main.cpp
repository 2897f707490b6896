// Writes the example parts as STEP files into the folder given (examples/parts by `make parts`).

#include <cstdio>
#include <exception>

#include "example_parts.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: palpera-parts FOLDER\n");
    return 2;
  }
  try {
    for (const std::string& name : examplePartNames()) writeExamplePart(name, argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "palpera-parts: %s\n", error.what());
    return 1;
  }
  return 0;
}
