#include "ui/tiles/hard_probe_instructions_tile.h"

#include <algorithm>
#include <cstdio>

#include "framework/object/query_part.h"
#include "framework/registrations/class_registration.h"
#include "framework/translation/tr.h"
#include "ui/instructions/zel_user_instructions.h"
#include "ui/tiles/tile_items.h"

namespace {

const ClassRegistration<HardProbeInstructionsTile> registration(registeredClass("HardProbeInstructionsTile"));

constexpr const char* kFontFamilyKey = "Fonts and Languages/Font Family Application";
constexpr const char* kFontSizeKey = "Palpera/UserInstructions/FontSize";

}  // namespace

HardProbeInstructionsTile::HardProbeInstructionsTile()
    : TileBase(tr("Hard Probe Instructions"), kTileName, 0) {
  listen(kTileClearEvent, &HardProbeInstructionsTile::clearInstructions);
  listen(kTileFullInstructionsKey, &HardProbeInstructionsTile::showInstructions);
}

bool HardProbeInstructionsTile::build() {
  if (!window_) return false;
  IGuiTileWindow& window = *window_;
  SPtr<IDataStore> store;
  const ZelString family = store ? store->getString(kFontFamilyKey) : ZelString();
  const int32_t size = store ? store->getInt(kFontSizeKey, 0) : 0;
  window.registerPictureMode(kBlankPictureMode, "blank");
  window.addControl(kBox, "box", ZelString(u"InstructionsBox"));
  window.setControlText(kBox, tr("Instructions"));
  window.addControl(kText, "text", ZelString(u"Text"));
  window.setControlFont(kText, family, size);
  for (int32_t row = 0; row < kStepRows; ++row) buildStepRow(window, row);
  window.layout();
  window.setReceiver(this);
  built_ = true;
  return true;
}

void HardProbeInstructionsTile::buildStepRow(IGuiTileWindow& window, int32_t row) {
  char name[32];
  std::snprintf(name, sizeof name, "IDs[%d][StepLabel]", static_cast<int>(row));
  window.addControl(kFirstStepLabel + row, "label", ZelString(name));
  window.setControlText(kFirstStepLabel + row, tr("Step %1:", ZelString::number(row + 1)));
  window.addControl(kFirstStepPicture + row, "picture", ZelString(u"unknown"));
  window.setPictureMode(kFirstStepPicture + row, kBlankPictureMode);
}

void HardProbeInstructionsTile::clearInstructions() {
  if (!built_) return;
  IGuiTileWindow& window = *window_;
  window.showControl(kBox, false);
  window.showControl(kText, false);
  window.setControlText(kText, ZelString());
  for (int32_t row = 0; row < kStepRows; ++row) {
    window.showControl(kFirstStepLabel + row, false);
    window.showControl(kFirstStepPicture + row, false);
    window.setPictureMode(kFirstStepPicture + row, kBlankPictureMode);
  }
}

void HardProbeInstructionsTile::showInstructions(IZelUnknown* object) {
  if (!built_) return;
  clearInstructions();
  IZelUserInstructions* instructions = queryPart<IZelUserInstructions>(object);
  if (!instructions) return;
  IGuiTileWindow& window = *window_;
  window.showControl(kBox, true);
  ZelString text;
  if (!instructions->text(text, true).isEmpty()) {
    window.setControlText(kText, text);
    window.showControl(kText, true);
  }
  // The tile has four step rows; further pictures have no place to go.
  const int32_t shown = std::min(instructions->imageCount(), kStepRows);
  for (int32_t row = 0; row < shown; ++row) {
    window.showControl(kFirstStepLabel + row, true);
    window.setPicture(kFirstStepPicture + row, instructions->image(row));
    window.showControl(kFirstStepPicture + row, true);
  }
}

void HardProbeInstructionsTile::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<IZelTile*>(this));
  queryTileChain(chain);
  chain.offer<IZelDataReceiver>(this).end();
}
