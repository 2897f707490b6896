#pragma once

// Reads the materials file into a library. The format is described in materials_format.md beside this file.
//
// The file lies at <directory>\materials\materials.mtlx, where the directory is the host's setting
// "DefaultFileNameDirectory/common". A material with a "Float" value whose text is not one finite decimal
// number is left out whole, and the reading goes on. Reading stops at any other problem: a path that is not a
// regular file the host's XML reader can read, a root element other than "Materials", a material without its
// key, a value of a type other than "String" or "Float". The problems are shown to the user in one message
// dialog, one line each (the first 20 materials left out, then how many more), the one that stopped the
// reading last, with its line, its material and how many materials were read before it; the whole materials
// read before a problem stay in the library, and a library that is
// still empty then gets the default material "Steel" (see below), so temperature compensation always has a
// material to offer. A valid file without materials leaves the library empty and shows nothing.
//
// Stateless. Uses the host's data store, XML reader and simple dialog, holding no lock; main thread only.

#include "basic_types/zel_string.h"
#include "devices/materials/izel_materials.h"

namespace Materials {

class ZelMaterialXmlReader {
 public:
  // The default material, for a library that got nothing from its file: "ThermalExpansionCoefficient" of
  // plain carbon steel, in 1/K, at the reference temperature in degrees Celsius.
  static constexpr const char* kDefaultMaterial = "Steel";
  static constexpr const char* kThermalExpansion = "ThermalExpansionCoefficient";
  static constexpr double kSteelExpansion = 1.17e-5;
  static constexpr double kReferenceTemperature = 20.0;

  // The materials file named by the host's setting (an empty setting leaves a relative path).
  static ZelString filePath();

  // Adds the materials of the file at path to the library, merging materials and properties of the same
  // name: a later material element adds its properties to the earlier material of that key (whose display
  // name stays), and a later property or value replaces the earlier one of that name.
  void read(const ZelString& path, IZelMaterials& library) const;
};

}  // namespace Materials
