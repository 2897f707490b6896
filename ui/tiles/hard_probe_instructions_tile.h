#pragma once

// The tile "Hard Probe Instructions": the current user instructions as numbered text with up to four step
// pictures. It follows the data store by itself: "Palpera/Tile/FullInstructions" replaces what it shows and
// the event "Palpera/Tile/Clear" empties it, both only once the host had it build its controls. Instructions
// with more than four pictures show the first four. Main thread only.

#include <cstdint>

#include "ui/tiles/receiver_base.h"
#include "ui/tiles/tile_base.h"

class HardProbeInstructionsTile : public TileBase, public ReceiverBase<HardProbeInstructionsTile> {
 public:
  static constexpr const char* interfaceName = "HardProbeInstructionsTile";
  static constexpr const char* kTileName = "hardprobe instructions tile";
  // Control ids; step row i pairs label kFirstStepLabel + i with picture kFirstStepPicture + i.
  static constexpr int32_t kBox = 0;
  static constexpr int32_t kText = 1;
  static constexpr int32_t kFirstStepLabel = 2;
  static constexpr int32_t kFirstStepPicture = 7;
  static constexpr int32_t kStepRows = 4;
  // The picture mode that shows the registered icon "blank": an empty step picture.
  static constexpr int32_t kBlankPictureMode = 6;

  HardProbeInstructionsTile();

  bool build() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  void clearInstructions();
  void showInstructions(IZelUnknown* object);
  void buildStepRow(IGuiTileWindow& window, int32_t row);
};
