// The rubber-band selection of the edited feature's points. The view's selector keeps the band between the
// press and the release; a new selector is asked for at each callback.

#include "basic_types/bit_vector.h"
#include "commands/edit_features/palpera_edit_features_cmd.h"
#include "framework/object/host_lookup.h"
#include "host_api/zel_selector.h"

namespace {

// The selector's band actions.
constexpr int32_t kSelect = 0;
constexpr int32_t kUnselect = 1;
// A point band: mode, kind and flags of the selector's start.
constexpr int32_t kBandMode = 0;
constexpr int32_t kBandKind = -1;
constexpr int32_t kBandFlags = 0;

}  // namespace

bool PalperaEditFeaturesCmd::onMousePress(IGfxMouseData* mouse) {
  SPtr<IZelSelector> selector;
  return selector && selector->start(mouse, kBandMode, kBandKind, kBandFlags);
}

bool PalperaEditFeaturesCmd::onMouseMove(IGfxMouseData* mouse) {
  SPtr<IZelSelector> selector;
  return selector && selector->follow(mouse);
}

bool PalperaEditFeaturesCmd::onMouseRelease(IGfxMouseData* mouse) {
  SPtr<IZelSelector> selector;
  if (!selector || !selector->accept(mouse)) return false;
  double start[2], end[2];
  selector->corners(start, end);
  if (start[0] == end[0] && start[1] == end[1]) {
    selector->end();
    return false;
  }
  const int32_t action = selector->action();
  EditState* top = currentState();
  BitVector picked(EditState::kInitialSelectionBits);
  if (top && top->feature && (action == kSelect || action == kUnselect) &&
      selector->pick(IZelSelector::kPointPick, IZelSelector::kPointPick, object_.get(), picked)) {
    if (action == kSelect)
      top->selection |= picked;
    else
      top->selection.subtract(picked);
    showSelection();
  }
  selector->end();
  return true;
}
