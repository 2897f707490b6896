#pragma once

// The host's user interface: the simple dialog, the user-interface refresh and the image store that takes
// the module's icons, tile windows and options pages, with fresh dialog images, their PNG decoder and
// data-bound widgets. It also owns the dialog and the
// command container the host's commands run with, which it offers to no one by name.

#include "framework/object/iptr.h"
#include "host/core/service_family.h"
#include "host/gui/host_busy_block.h"
#include "host/gui/host_command_container.h"
#include "host/gui/host_gui_dialog.h"
#include "host/gui/host_gui_themes.h"
#include "host/gui/host_help_service.h"
#include "host/gui/host_image.h"
#include "host/gui/host_image_store.h"
#include "host/gui/host_sound_player.h"
#include "host/gui/host_state_mgr.h"
#include "host/gui/host_status_bar.h"
#include "host/gui/host_theme_mgr.h"
#include "host/gui/host_update_gui.h"
#include "host/gui/host_window_service.h"
#include "host/gui/host_xaml_renderer.h"
#include "host/gui/scripted_simple_dialog.h"
#include "host_api/data_store.h"

class GuiFamily : public ServiceFamily {
 public:
  // Widgets are bound to keys of store, and rendered tiles read their values there; it must outlive the
  // family.
  // The command container follows document, which must outlive the family too.
  GuiFamily(IDataStore& store, HostDocument& document, IUnitService& units);

  HostGuiDialog& dialog() { return *dialog_; }
  HostCommandContainer& commandContainer() { return *commandContainer_; }
  ScriptedSimpleDialog& simpleDialog() { return *simpleDialog_; }
  HostUpdateGui& updateGui() { return *updateGui_; }
  HostImageStore& images() { return *images_; }
  HostImageWriter& imageWriter() { return *imageWriter_; }
  HostWindowService& windows() { return *windows_; }
  HostHelpService& help() { return *help_; }
  HostStateMgr& states() { return *states_; }
  HostStatusBar& statusBar() { return *statusBar_; }
  HostThemeMgr& themes() { return *themes_; }
  HostBusyBlock& busy() { return *busy_; }
  HostGuiThemes& guiThemes() { return *guiThemes_; }
  HostSoundPlayer& soundPlayer() { return *soundPlayer_; }

  std::vector<SharedService> sharedServices() const override;
  std::vector<HostClass> hostClasses() const override;

 private:
  IDataStore& store_;
  IPtr<HostGuiDialog> dialog_;
  IPtr<HostCommandContainer> commandContainer_;
  IPtr<ScriptedSimpleDialog> simpleDialog_;
  IPtr<HostUpdateGui> updateGui_;
  IPtr<HostImageStore> images_;
  IPtr<HostImageWriter> imageWriter_;
  IPtr<HostWindowService> windows_;
  IPtr<HostHelpService> help_;
  IPtr<HostStateMgr> states_;
  IPtr<HostStatusBar> statusBar_;
  IPtr<HostThemeMgr> themes_;
  IPtr<HostBusyBlock> busy_;
  IPtr<HostGuiThemes> guiThemes_;
  IPtr<HostSoundPlayer> soundPlayer_;
};
