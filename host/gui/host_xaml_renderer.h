#pragma once

// The stand-in host's tile markup renderer ("IZelXAMLImageRenderer"). Its markup is its own: a control file
// is a <TileControl Title="..."> holding <Row Label="..." Key="..." Kind="text|count|number"/> lines, each
// shown as "Label: value" with the data store's current value of the key (numbers to 4 decimals, "-"
// from 3.4e38 up, the tile items' mark of a value not computed); the common resources file is one <Resources
// Background="#RRGGBBAA" Foreground="#RRGGBBAA" Padding="4"/>. The tile is as large as its text needs, cut to
// the room it is given, and drawn in the host's bitmap typeface. Main thread only.

#include <cstdint>
#include <string>
#include <vector>

#include "host/core/host_unknown.h"
#include "host/gui/png_image.h"
#include "host_api/data_store.h"
#include "host_api/xaml_image_renderer.h"

class HostXamlImageRenderer : public IZelXAMLImageRenderer, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostXamlImageRenderer";

  struct Row {
    std::u16string label;
    std::string key;
    std::string kind;
  };
  struct Style {
    uint32_t background = 0x203040E0;
    uint32_t foreground = 0xFFFFFFFF;
    int32_t padding = 4;
  };

  // store: where the rows' values are read; it must outlive the renderer.
  explicit HostXamlImageRenderer(IDataStore& store) : store_(store) {}

  bool load(const std::vector<ZelString>& controlPaths, const ZelString& commonResourcesPath) override;
  bool needsUpdate() override;
  void setSize(int32_t width, int32_t height) override;
  bool render(IZelImage* image) override;

  // Host side: the files loaded, in order, in the module's form; the tile's lines as they read now; the
  // picture of those lines with no limit of room.
  const std::vector<std::u16string>& loadedFiles() const { return loaded_; }
  std::vector<std::u16string> lines();
  DecodedImage draw(const std::vector<std::u16string>& lines, int32_t maxWidth, int32_t maxHeight) const;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  bool loadFile(const ZelString& path, bool resources);
  std::u16string valueOf(const Row& row);

  IDataStore& store_;
  std::vector<std::u16string> loaded_;
  std::vector<std::u16string> titles_;  // one per control, empty for none
  std::vector<std::vector<Row>> controls_;
  Style style_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  // What the image shows now.
  std::vector<std::u16string> renderedLines_;
  int32_t renderedWidth_ = -1;
  int32_t renderedHeight_ = -1;
};
