#include "devices/materials/zel_material_xml_reader.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "devices/materials/float_prop.h"
#include "devices/materials/string_prop.h"
#include "devices/materials/zel_material.h"
#include "devices/materials/zel_material_property.h"
#include "framework/files/zel_path.h"
#include "framework/object/iptr.h"
#include "framework/registrations/static_constants.h"
#include "framework/translation/tr.h"
#include "host_api/data_store.h"
#include "host_api/gui_simple_dialog.h"
#include "host_api/xml_dom.h"

namespace Materials {

namespace {

constexpr const char* kDirectorySetting = "DefaultFileNameDirectory/common";
constexpr char16_t kStringType[] = u"String";
constexpr char16_t kFloatType[] = u"Float";

// A new T, held through its part Held.
template <class Held, class T = Held, class... Args>
IPtr<Held> make(Args&&... args) {
  return IPtr<Held>(new T(std::forward<Args>(args)...));
}

ZelString tagOf(IZelDOMXmlElement& element) {
  ZelString tag;
  element.tagName(tag);
  return tag;
}

ZelString textOf(IZelDOMXmlElement& element) {
  ZelString text;
  element.text(text);
  return text;
}

ZelString attributeOf(IZelDOMXmlElement& element, const char16_t* name) {
  ZelString value;
  element.attribute(value, ZelString(name));
  return value;
}

// An owned copy: toNarrow's text lives only until the string's next conversion.
ZelCString narrow(const ZelString& wide) {
  ZelCString copy;
  copy = wide.toNarrow();
  return copy;
}

bool hasTag(IZelDOMXmlElement& element, const char16_t* tag) {
  return tagOf(element) == ZelString(tag);
}

// Visits the child elements in document order; the iterator is given up even when visit throws.
template <class Visit>
void forEachChild(IZelDOMXmlElement& parent, Visit&& visit) {
  IPtr<IZelDOMXmlElementItr> children;
  children.takeOwnership(parent.children());
  if (!children) return;
  for (children->first(); !children->atEnd(); children->next()) {
    if (IZelDOMXmlElement* child = children->current()) visit(*child);
  }
}

// A problem that ends the reading, and the line of the element it was met on (0 when not known).
struct ReadingStop {
  ZelString problem;
  int32_t line;
};

// A material whose values cannot all be read: it is left out whole, the reading goes on, and message says
// which one it was and where.
struct SkippedMaterial {
  ZelString message;
};

// True when the text is one decimal number with nothing but blanks around it. A leading-number reading would
// take "1,17e-5" as 1 and a text without a number as 0: a plausible-looking coefficient that scales every
// measured point wrongly. Hexadecimal, infinities and NaN are no decimal numbers either.
bool isOneNumber(const ZelString& text, double& value) {
  std::string ascii;
  for (const char16_t* unit = text.c_str(); *unit; ++unit) {
    if (*unit >= 0x80) return false;
    ascii += static_cast<char>(*unit);
  }
  auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  const char* begin = ascii.c_str();
  const char* end = begin + ascii.size();
  while (begin < end && blank(*begin)) ++begin;
  while (end > begin && blank(end[-1])) --end;
  // from_chars takes no plus sign, which a hand-written file may put; never before a second sign.
  if (begin + 1 < end && *begin == '+' && begin[1] != '-') ++begin;
  auto [stop, error] = std::from_chars(begin, end, value, std::chars_format::general);
  return error == std::errc() && stop == end && begin < end && std::isfinite(value);
}

double floatOf(IZelDOMXmlElement& element, const ZelCString& materialName) {
  double value = 0.0;
  if (isOneNumber(textOf(element), value)) return value;
  throw SkippedMaterial{tr("Material %1 was left out: its float value %2 on line %3 is not a number",
                           ZelString(materialName.c_str()), tagOf(element),
                           ZelString::number(element.line()))};
}

IPtr<IZelMaterialPropertyValue> readValue(IZelDOMXmlElement& element, const ZelCString& materialName) {
  ZelString type = attributeOf(element, kMaterialsType);
  if (type == ZelString(kStringType)) return make<IZelMaterialPropertyValue, StringProp>(textOf(element));
  if (type == ZelString(kFloatType))
    return make<IZelMaterialPropertyValue, FloatProp>(floatOf(element, materialName));
  throw ReadingStop{tr("Unsupported property type: %1", type), element.line()};
}

using NamedProperty = std::pair<ZelCString, IPtr<ZelMaterialProperty>>;

NamedProperty readProperty(IZelDOMXmlElement& element, const ZelCString& materialName) {
  IPtr<ZelMaterialProperty> property = make<ZelMaterialProperty>();
  forEachChild(element, [&](IZelDOMXmlElement& valueElement) {
    IPtr<IZelMaterialPropertyValue> value = readValue(valueElement, materialName);
    property->setValue(narrow(tagOf(valueElement)), value.get());
  });
  return {narrow(tagOf(element)), property};
}

ZelString displayNameOf(IZelDOMXmlElement& element) {
  IZelDOMXmlElement* name = element.firstChild(ZelString(kMaterialsName));
  return name ? textOf(*name) : ZelString();
}

// The library's material of that key, made and added when there is none yet. No reference for the caller:
// the library keeps the material alive.
IZelMaterial& materialFor(IZelMaterials& library, const ZelCString& key, IZelDOMXmlElement& element) {
  if (IZelMaterial* existing = library.find(key)) return *existing;
  IPtr<ZelMaterial> made = make<ZelMaterial>(key, displayNameOf(element));
  library.add(made.get());
  return *made;
}

// The material's properties are all read before any reaches the library, so a material left out leaves no
// trace, also when it would have added to an earlier material of its key.
void readMaterial(IZelDOMXmlElement& element, IZelMaterials& library) {
  ZelCString key = narrow(attributeOf(element, kMaterialsNameI18n));
  if (key.isEmpty()) {
    throw ReadingStop{tr("Material element requires a %1 attribute", ZelString(kMaterialsNameI18n)),
                      element.line()};
  }
  std::vector<NamedProperty> properties;
  forEachChild(element, [&](IZelDOMXmlElement& child) {
    if (!hasTag(child, kMaterialsName)) properties.push_back(readProperty(child, key));
  });
  IZelMaterial& material = materialFor(library, key, element);
  for (NamedProperty& property : properties) material.setProperty(property.first, property.second.get());
}

ZelString loadErrorOf(IZelDOMXmlV2& document, const ZelString& path) {
  IZelDOMXmlError* error = document.lastError();
  ZelString text = error ? error->errorText() : ZelString();
  // A failed load must never reach the user as an empty message.
  return text.isEmpty() ? tr("Cannot read %1", path) : text;
}

// What the user needs to know of a reading that stopped: where, in which material, and that the materials
// after it were not read.
ZelString stopMessage(const ReadingStop& stop, IZelDOMXmlElement& material, int32_t materialsRead) {
  ZelString key = attributeOf(material, kMaterialsNameI18n);
  ZelString where =
      key.isEmpty() ? tr("%1 on line %2.", stop.problem, ZelString::number(stop.line))
                    : tr("%1 on line %2 in material %3.", stop.problem, ZelString::number(stop.line), key);
  where += ZelString(u" ");
  where += tr("The reading stopped there; materials read: %1.", ZelString::number(materialsRead));
  return where;
}

// The messages of the materials left out, in file order; a problem that ends the reading is thrown.
void readFile(const ZelString& path, IZelMaterials& library, std::vector<ZelString>& leftOut) {
  SPtr<IZelDOMXmlV2> document;
  if (!document) throw tr("Cannot read %1", path);
  bool loaded = false;
  try {
    loaded = document->load(path);
  } catch (const std::bad_alloc&) {
    throw tr("There is not enough memory to read %1", path);
  }
  if (!loaded) throw loadErrorOf(*document, path);
  IZelDOMXmlElement* root = document->rootElement();
  if (!root || !hasTag(*root, kMaterialsRoot)) {
    throw tr("Error parsing xml file %1: The top level object is not \"%2\"", ZelPath::directoryForm(path),
             ZelString(kMaterialsRoot));
  }
  const int32_t before = library.count();
  forEachChild(*root, [&](IZelDOMXmlElement& element) {
    try {
      readMaterial(element, library);
    } catch (const SkippedMaterial& skipped) {
      leftOut.push_back(skipped.message);
    } catch (const ReadingStop& stop) {
      throw stopMessage(stop, element, library.count() - before);
    }
  });
}

// All the problems of one reading in one dialog, one line each: the first few materials left out of many
// and how many more, so that a file of thousands of bad materials makes a dialog a person can read, then
// the problem that stopped the reading, always shown. Gathered in one buffer rather than copied per line.
ZelString joined(const std::vector<ZelString>& leftOut, const std::optional<ZelString>& stop) {
  constexpr size_t kShownLeftOut = 20;
  std::u16string all;
  auto addLine = [&all](const ZelString& line) {
    if (!all.empty()) all += u'\n';
    all += line.c_str();
  };
  for (size_t i = 0; i < leftOut.size() && i < kShownLeftOut; ++i) addLine(leftOut[i]);
  if (leftOut.size() > kShownLeftOut) {
    addLine(tr("and %1 more", ZelString::number(static_cast<int32_t>(leftOut.size() - kShownLeftOut))));
  }
  if (stop) addLine(*stop);
  ZelString text;
  text.setBuffer(all.c_str(), -1);
  return text;
}

void tellUser(const ZelString& message) {
  SPtr<IGuiSimpleDlg> dialog;
  if (dialog) dialog->show(IGuiSimpleDlg::kMessageStyle, message, ZelString(u" "), false, false, false);
}

void addDefaultMaterial(IZelMaterials& library) {
  using Reader = ZelMaterialXmlReader;
  IPtr<ZelMaterialProperty> expansion = make<ZelMaterialProperty>();
  expansion->setValue(ZelCString("Type"), make<StringProp>(ZelString(u"Isotropic")).get());
  expansion->setValue(ZelCString("Value"), make<FloatProp>(Reader::kSteelExpansion).get());
  expansion->setValue(ZelCString("RefTemp"), make<FloatProp>(Reader::kReferenceTemperature).get());
  IPtr<ZelMaterial> steel = make<ZelMaterial>(ZelCString(Reader::kDefaultMaterial), ZelString(u"Steel"));
  steel->setProperty(ZelCString(Reader::kThermalExpansion), expansion.get());
  library.add(steel.get());
}

}  // namespace

ZelString ZelMaterialXmlReader::filePath() {
  ZelString path;
  SPtr<IDataStore> store;
  if (store) path = store->getString(kDirectorySetting);
  ZelPath::normalize(path);
  ZelPath::append(path, ZelString(kMaterialsFolder));
  ZelPath::append(path, ZelString(kMaterialsFile));
  return path;
}

void ZelMaterialXmlReader::read(const ZelString& path, IZelMaterials& library) const {
  std::vector<ZelString> leftOut;
  std::optional<ZelString> stop;
  try {
    readFile(path, library, leftOut);
  } catch (const ZelString& problem) {
    stop = problem;
  }
  if (leftOut.empty() && !stop) return;
  tellUser(joined(leftOut, stop));
  if (library.count() == 0) addDefaultMaterial(library);
}

}  // namespace Materials
