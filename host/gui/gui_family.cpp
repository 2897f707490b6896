#include "host/gui/gui_family.h"

#include "host/api/host_class_ids.h"
#include "host/gui/host_table.h"
#include "host/gui/host_widget.h"

GuiFamily::GuiFamily(IDataStore& store, HostDocument& document)
    : store_(store),
      dialog_(new HostGuiDialog),
      commandContainer_(new HostCommandContainer(document)),
      simpleDialog_(new ScriptedSimpleDialog),
      updateGui_(new HostUpdateGui),
      images_(new HostImageStore),
      imageWriter_(new HostImageWriter),
      windows_(new HostWindowService) {}

std::vector<ServiceFamily::SharedService> GuiFamily::sharedServices() const {
  return {
      {IGuiSimpleDlg::interfaceName, simpleDialog_.get()},
      {IUpdateGui::interfaceName, updateGui_.get()},
      {IImageStore::interfaceName, images_.get()},
      {IZelImageWriter::interfaceName, imageWriter_.get()},
      {IGuiWin::interfaceName, windows_.get()},
  };
}

std::vector<ServiceFamily::HostClass> GuiFamily::hostClasses() const {
  IDataStore* store = &store_;
  return {
      hostClassOf<HostImage>(kHostImageClassId, {IZelImage::interfaceName}),
      hostClassOf<HostTable>(kHostTableClassId, {IZelTable::interfaceName}),
      {kHostToggleWidgetClassId,
       {IZelToggleWidget::interfaceName},
       [store] { return static_cast<IZelUnknown*>(new HostToggleWidget(*store)); }},
      {kHostFloatWidgetClassId,
       {IZelFloatWidget::interfaceName},
       [store] { return static_cast<IZelUnknown*>(new HostFloatWidget(*store)); }},
      {kHostXamlImageRendererClassId,
       {IZelXAMLImageRenderer::interfaceName},
       [store] { return static_cast<IZelUnknown*>(new HostXamlImageRenderer(*store)); }},
  };
}
