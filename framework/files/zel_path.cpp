#include "framework/files/zel_path.h"

#include <algorithm>
#include <string>

#include "basic_types/no_destructor.h"
#include "framework/object/kept_service.h"
#include "host_api/zel_dir_service.h"

namespace {

constexpr char16_t kSeparator = u'\\';
constexpr size_t kNone = std::u16string::npos;

std::u16string textOf(const ZelString& path) {
  return std::u16string(path.c_str(), path.length());
}

ZelString zelString(const std::u16string& text) {
  ZelString result;
  if (!text.empty()) result.setBuffer(text.c_str(), static_cast<int32_t>(text.size()));
  return result;
}

bool isAsciiLetter(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// Where the extension's "." stands, or kNone: the last "." after the last "\".
size_t extensionDot(const std::u16string& text) {
  size_t dot = text.rfind(u'.');
  size_t separator = text.rfind(kSeparator);
  return dot != kNone && (separator == kNone || dot > separator) ? dot : kNone;
}

}  // namespace

namespace ZelPath {

void normalize(std::u16string& text) {
  if (text.size() >= 4 && text[0] == u'/' && text[1] == u'/' && isAsciiLetter(text[2]) && text[3] == u'/') {
    text = std::u16string{text[2], u':', kSeparator} + text.substr(4);
  }
  for (char16_t& unit : text) {
    if (unit == u'/') unit = kSeparator;
  }
  while (text.size() > 1 && text.back() == kSeparator) text.pop_back();
}

void normalize(ZelString& path) {
  std::u16string text = textOf(path);
  normalize(text);
  path = zelString(text);
}

ZelString inSeparatorsOf(const ZelString& normalised, const ZelString& given) {
  const std::u16string written = textOf(given);
  if (written.find(kSeparator) != kNone || written.find(u'/') == kNone) return normalised;
  std::u16string shown = textOf(normalised);
  std::replace(shown.begin(), shown.end(), kSeparator, u'/');
  return zelString(shown);
}

ZelString directoryForm(const ZelString& path) {
  if (path.length() != 2 || path.c_str()[1] != u':') return path;
  ZelString result = path;
  result += ZelString(u"\\");
  return result;
}

void append(std::u16string& path, std::u16string_view name) {
  if (path.empty()) {
    path = name;
  } else {
    if (path.back() != kSeparator) path += kSeparator;
    path += name;
  }
  normalize(path);
}

void append(ZelString& path, const ZelString& name) {
  std::u16string text = textOf(path);
  append(text, std::u16string_view(name.c_str(), name.length()));
  path = zelString(text);
}

ZelString directory(const ZelString& path) {
  std::u16string text = textOf(path);
  size_t separator = text.find_last_of(u"\\/");
  if (separator == kNone) return ZelString(u".");
  if (separator == 0) return ZelString(u"\\");
  return zelString(text.substr(0, separator));
}

ZelString fileName(const ZelString& path) {
  std::u16string text = textOf(path);
  size_t separator = text.rfind(kSeparator);
  return separator == kNone ? path : zelString(text.substr(separator + 1));
}

void setExtension(ZelString& path, const ZelString& ext) {
  std::u16string text = textOf(path);
  if (size_t dot = extensionDot(text); dot != kNone) text.resize(dot);
  if (!ext.isEmpty()) {
    if (ext.c_str()[0] != u'.') text += u'.';
    text += textOf(ext);
  }
  path = zelString(text);
}

void addSuffix(ZelString& path, const ZelString& suffix) {
  std::u16string text = textOf(path);
  size_t dot = extensionDot(text);
  text.insert(dot == kNone ? text.size() : dot, textOf(suffix));
  path = zelString(text);
}

ZelString tempDirectory() {
  static NoDestructor<KeptService<IZelDirService>> service;
  IPtr<IZelDirService> directories = service->get();
  return directories ? directories->directory("temp") : ZelString();
}

}  // namespace ZelPath
