#pragma once

// Each test reads its own materials file into its own library, so the module's one served library (read once
// per process) stays out of the way.

#include <cmath>
#include <string>

#include "devices/materials/izel_material_property_value.h"
#include "devices/materials/zel_material_xml_reader.h"
#include "devices/materials/zel_materials.h"
#include "support/module_fixture.h"
#include "support/scratch_directory.h"

// A material element: key (no attribute when null) and inner elements.
inline std::string materialXml(const char* key, const std::string& body, const char* tag = "Material") {
  std::string keyAttribute = key ? std::string(" name_i18n=\"") + key + "\"" : "";
  return "<" + std::string(tag) + keyAttribute + ">" + body + "</" + tag + ">";
}

// A property "ThermalExpansionCoefficient" with one value element "Value".
inline std::string expansionXml(const std::string& text, const char* type = "Float") {
  return "<ThermalExpansionCoefficient><Value Type=\"" + std::string(type) + "\">" + text +
         "</Value></ThermalExpansionCoefficient>";
}

// The double of a value of the library; NaN when it is missing or not a float.
inline double valueOf(Materials::IZelMaterials& library, const char* material, const char* value = "Value",
                      const char* property = "ThermalExpansionCoefficient") {
  auto* found = library.value(ZelCString(material), ZelCString(property), ZelCString(value));
  void* part = nullptr;
  if (found) found->queryInterface(Materials::IZelFloatMaterialPropertyValue::interfaceName, &part, false);
  return part ? static_cast<Materials::IZelFloatMaterialPropertyValue*>(part)->value() : std::nan("");
}

class MaterialsFile : public ModuleTest {
 protected:
  // A library read from a file of these materials under a "Materials" root.
  IPtr<Materials::ZelMaterials> readMaterials(const std::string& materials) {
    return read("<Materials>" + materials + "</Materials>");
  }

  IPtr<Materials::ZelMaterials> read(const std::string& xml) {
    scratch_.write("materials.mtlx", xml);
    return readPath(path());
  }

  IPtr<Materials::ZelMaterials> readPath(const ZelString& path) {
    IPtr<Materials::ZelMaterials> library(new Materials::ZelMaterials(Materials::ZelMaterials::Empty{}));
    Materials::ZelMaterialXmlReader().read(path, *library);
    return library;
  }

  ZelString path() const { return scratch_.module("materials.mtlx"); }

  // The text of the one dialog shown since the last call, else a marker that no text can be.
  std::u16string message() {
    auto shown = host_.simpleDialog().shown();
    host_.simpleDialog().clear();
    if (shown.size() == 1) return shown[0].text;
    return shown.empty() ? u"<no dialog>" : u"<several dialogs>";
  }

  ScratchDirectory scratch_;
};
