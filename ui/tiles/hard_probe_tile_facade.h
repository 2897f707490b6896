#pragma once

// The one object through which commands, widgets and collectors publish what the information tiles show: each
// operation writes items of "Palpera/Tile" in the host data store, where the tiles read them. The facade
// keeps nothing of its own but the data store; callers create one by class id when they publish.
//
// Every item write switches the store's notifications on for its duration, so the tiles hear it even while a
// command has them off, and restores the switch afterwards. A facade made where the host has no data store
// writes nothing.

#include "basic_types/zel_cstring.h"
#include "framework/object/iptr.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/data_store.h"
#include "ui/tiles/zel_hard_probe_tile.h"

class HardProbeTileFacade : public IZelHardProbeTile, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "HardProbeTileFacade";

  HardProbeTileFacade();

  void clear() override;
  void setActive(bool on) override;
  void showTile(const ZelCString& tileName, bool show) override;
  void setInstructions(const char* item, IZelUserInstructions* instructions) override;
  void setText(const char* item, const ZelString& text) override;
  void setVector(const char* item, const double v[3]) override;
  void setValue(const char* item, double value) override;
  void setFlag(const char* item, int32_t value) override;

  // The XAML control list the overlay renders for a tile name, or null for a name it does not show.
  static const ZelCString* xamlControlsOf(const ZelCString& tileName);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // Runs write with the store's notifications on, then restores the switch as it was.
  template <class Write>
  void withNotifications(Write write);

  IPtr<IDataStore> store_;
};

// A facade made by its class id, as the host makes one; empty when the class is not registered.
IPtr<IZelHardProbeTile> tileFacade();
