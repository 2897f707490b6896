#include "host/gui/host_xaml_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "framework/object/query_chain.h"
#include "framework/object/query_part.h"
#include "host/gui/bitmap_font.h"
#include "host/gui/host_image.h"
#include "platform/file.h"
#include "platform/utf8.h"

namespace {

// Each character takes its glyph and a pixel of space; each line its glyphs and three pixels.
constexpr int32_t kCellWidth = bitmap_font::kGlyphWidth + 1;
constexpr int32_t kLineHeight = bitmap_font::kGlyphHeight + 3;
// What the tile's number items hold until a value is computed, and anything larger.
constexpr double kNotComputed = 3.4e38;

using Attributes = std::map<std::string, std::string>;

// The elements of a markup text, each with its attributes, in order.
std::vector<std::pair<std::string, Attributes>> elementsOf(const std::string& text) {
  static const std::regex element(R"(<\s*([A-Za-z]+)([^>]*)>)");
  static const std::regex attribute(R"(([A-Za-z]+)\s*=\s*\"([^\"]*)\")");
  std::vector<std::pair<std::string, Attributes>> found;
  for (std::sregex_iterator e(text.begin(), text.end(), element), end; e != end; ++e) {
    Attributes attributes;
    const std::string inside = (*e)[2];
    for (std::sregex_iterator a(inside.begin(), inside.end(), attribute); a != end; ++a)
      attributes[(*a)[1]] = (*a)[2];
    found.emplace_back((*e)[1], std::move(attributes));
  }
  return found;
}

// "#RRGGBBAA" as 0xRRGGBBAA; fallback for anything else.
uint32_t colourOf(const Attributes& attributes, const char* name, uint32_t fallback) {
  auto found = attributes.find(name);
  if (found == attributes.end() || found->second.size() != 9 || found->second[0] != '#') return fallback;
  return static_cast<uint32_t>(std::stoul(found->second.substr(1), nullptr, 16));
}

void put(DecodedImage& picture, int32_t x, int32_t y, uint32_t colour) {
  uint8_t* pixel = &picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4];
  for (int i = 0; i < 4; ++i) pixel[i] = static_cast<uint8_t>(colour >> (24 - 8 * i));
}

}  // namespace

bool HostXamlImageRenderer::load(const std::vector<ZelString>& controlPaths,
                                 const ZelString& commonResourcesPath) {
  for (const ZelString& path : controlPaths)
    if (!loadFile(path, false)) return false;
  return loadFile(commonResourcesPath, true);
}

bool HostXamlImageRenderer::loadFile(const ZelString& path, bool resources) {
  const std::u16string_view name(path.c_str());
  if (platform::fileKind(name) != platform::FileKind::kRegular) return false;
  std::ifstream file(platform::systemPath(name), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const auto elements = elementsOf(text.str());
  if (elements.empty()) return false;
  const auto& [root, rootAttributes] = elements.front();
  if (resources) {
    if (root != "Resources") return false;
    style_.background = colourOf(rootAttributes, "Background", style_.background);
    style_.foreground = colourOf(rootAttributes, "Foreground", style_.foreground);
    if (auto padding = rootAttributes.find("Padding"); padding != rootAttributes.end())
      style_.padding = std::max(0, std::atoi(padding->second.c_str()));
  } else {
    if (root != "TileControl") return false;
    auto title = rootAttributes.find("Title");
    titles_.push_back(title == rootAttributes.end() ? u"" : platform::fromUtf8(title->second));
    std::vector<Row> rows;
    for (const auto& [element, attributes] : elements)
      if (element == "Row" && attributes.count("Key"))
        rows.push_back({platform::fromUtf8(attributes.count("Label") ? attributes.at("Label") : ""),
                        attributes.at("Key"), attributes.count("Kind") ? attributes.at("Kind") : "text"});
    controls_.push_back(std::move(rows));
  }
  loaded_.emplace_back(name);
  return true;
}

std::u16string HostXamlImageRenderer::valueOf(const Row& row) {
  if (row.kind == "count") return platform::fromUtf8(std::to_string(store_.getInt(row.key.c_str(), 0)));
  if (row.kind == "number") {
    const double value = store_.getDouble(row.key.c_str(), 0);
    if (!(std::fabs(value) < kNotComputed)) return u"-";
    char text[64];
    std::snprintf(text, sizeof text, "%.4f", value);
    return platform::fromUtf8(text);
  }
  return store_.getString(row.key.c_str()).c_str();
}

std::vector<std::u16string> HostXamlImageRenderer::lines() {
  std::vector<std::u16string> lines;
  for (size_t control = 0; control < controls_.size(); ++control) {
    if (!titles_[control].empty()) lines.push_back(titles_[control]);
    for (const Row& row : controls_[control]) lines.push_back(row.label + u": " + valueOf(row));
  }
  return lines;
}

bool HostXamlImageRenderer::needsUpdate() {
  return lines() != renderedLines_ || width_ != renderedWidth_ || height_ != renderedHeight_;
}

void HostXamlImageRenderer::setSize(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
}

DecodedImage HostXamlImageRenderer::draw(const std::vector<std::u16string>& lines, int32_t maxWidth,
                                         int32_t maxHeight) const {
  size_t longest = 0;
  for (const std::u16string& line : lines) longest = std::max(longest, line.size());
  DecodedImage picture;
  picture.width = static_cast<uint32_t>(
      std::min<int64_t>(maxWidth, 2 * style_.padding + static_cast<int64_t>(longest) * kCellWidth));
  picture.height = static_cast<uint32_t>(
      std::min<int64_t>(maxHeight, 2 * style_.padding + static_cast<int64_t>(lines.size()) * kLineHeight));
  picture.rgba.resize(size_t{picture.width} * picture.height * 4);
  for (uint32_t y = 0; y < picture.height; ++y)
    for (uint32_t x = 0; x < picture.width; ++x) put(picture, x, y, style_.background);
  for (size_t line = 0; line < lines.size(); ++line)
    for (size_t at = 0; at < lines[line].size(); ++at) {
      const bitmap_font::Glyph& glyph = bitmap_font::glyphOf(lines[line][at]);
      const int32_t left = style_.padding + static_cast<int32_t>(at) * kCellWidth;
      const int32_t top = style_.padding + static_cast<int32_t>(line) * kLineHeight;
      for (int32_t row = 0; row < bitmap_font::kGlyphHeight; ++row)
        for (int32_t column = 0; column < bitmap_font::kGlyphWidth; ++column) {
          const int32_t x = left + column, y = top + row;
          if ((glyph[row] >> (bitmap_font::kGlyphWidth - 1 - column) & 1) &&
              x < static_cast<int32_t>(picture.width) && y < static_cast<int32_t>(picture.height))
            put(picture, x, y, style_.foreground);
        }
    }
  return picture;
}

bool HostXamlImageRenderer::render(IZelImage* image) {
  HostImage* target = queryPart<HostImage>(image);
  if (loaded_.empty() || width_ <= 0 || height_ <= 0 || !target) return false;
  renderedLines_ = lines();
  renderedWidth_ = width_;
  renderedHeight_ = height_;
  target->setPicture(draw(renderedLines_, width_, height_));
  return true;
}

void HostXamlImageRenderer::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelXAMLImageRenderer>(this).end();
}
