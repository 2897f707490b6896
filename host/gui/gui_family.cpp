#include "host/gui/gui_family.h"

#include "host/gui/host_feature_selection_widget.h"
#include "host/gui/host_progress_split.h"
#include "host/gui/host_table.h"
#include "host/gui/host_vector_widget.h"
#include "host/gui/host_widget.h"
#include "host_api/host_class_ids.h"

GuiFamily::GuiFamily(IDataStore& store, HostDocument& document, IUnitService& units)
    : store_(store),
      dialog_(new HostGuiDialog(&units)),
      commandContainer_(new HostCommandContainer(document)),
      simpleDialog_(new ScriptedSimpleDialog),
      updateGui_(new HostUpdateGui),
      images_(new HostImageStore),
      imageWriter_(new HostImageWriter),
      windows_(new HostWindowService),
      help_(new HostHelpService),
      states_(new HostStateMgr),
      statusBar_(new HostStatusBar),
      themes_(new HostThemeMgr),
      busy_(new HostBusyBlock),
      guiThemes_(new HostGuiThemes),
      soundPlayer_(new HostSoundPlayer) {}

std::vector<ServiceFamily::SharedService> GuiFamily::sharedServices() const {
  return {
      {IGuiSimpleDlg::interfaceName, simpleDialog_.get()},
      {IUpdateGui::interfaceName, updateGui_.get()},
      {IImageStore::interfaceName, images_.get()},
      {IZelImageWriter::interfaceName, imageWriter_.get()},
      {IGuiWin::interfaceName, windows_.get()},
      {IHelpServiceV2::interfaceName, help_.get()},
      {IStateMgr::interfaceName, states_.get()},
      {IGuiStatusBar::interfaceName, statusBar_.get()},
      {IGuiThemeMgr::interfaceName, themes_.get()},
      {IGuiBusyBlock::interfaceName, busy_.get()},
      {IGuiThemes::interfaceName, guiThemes_.get()},
      {IZelSoundPlayer::interfaceName, soundPlayer_.get()},
  };
}

std::vector<ServiceFamily::HostClass> GuiFamily::hostClasses() const {
  IDataStore* store = &store_;
  return {
      hostClassOf<HostImage>(kHostImageClassId, {IZelImage::interfaceName}),
      hostClassOf<HostTable>(kHostTableClassId, {IZelTable::interfaceName}),
      hostClassOf<HostProgressSplit>(kHostProgressSplitClassId, {IZelProgressSplit::interfaceName}),
      hostClassOf<HostFeatureSelectionWidget>(kHostFeatureSelectionWidgetClassId,
                                              {IZelFeatureSelectionWidget::interfaceName}),
      {kHostToggleWidgetClassId,
       {IZelToggleWidget::interfaceName},
       [store] { return static_cast<IZelUnknown*>(new HostToggleWidget(*store)); }},
      {kHostFloatWidgetClassId,
       {IZelFloatWidget::interfaceName},
       [store] { return static_cast<IZelUnknown*>(new HostFloatWidget(*store)); }},
      {kHostXamlImageRendererClassId,
       {IZelXAMLImageRenderer::interfaceName},
       [store] { return static_cast<IZelUnknown*>(new HostXamlImageRenderer(*store)); }},
      hostClassOf<HostVectorWidget>(kHostVectorWidgetClassId, {IZelVectorWidget::interfaceName}),
  };
}
