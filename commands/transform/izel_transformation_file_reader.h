#pragma once

// A reader of one outside transform-file format. Readers are listed in the host registry under
// kTransformationFileReadersPath (host_api/registry_paths.h) and offered in the transform open dialog.

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IZelTransformationFileReader : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelTransformationFileReader";

  // The text the file dialog's filter shows for the format.
  virtual const ZelString& description() = 0;
  // The format's extensions without the dot, as a counted list (ZelString::appendCounted).
  virtual const ZelString& extensions() = 0;
  // Fills matrix (16 doubles, row-major, translation in metres) from the file at path. False when the file
  // cannot be read as the format; the matrix is then left as it was.
  virtual bool read(const ZelString& path, double* matrix) = 0;
};
