#include "host/gui/gui_family.h"

#include "host/gui/host_widget.h"

GuiFamily::GuiFamily(IDataStore& store)
    : store_(store),
      dialog_(new HostGuiDialog),
      commandContainer_(new HostCommandContainer),
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

std::vector<ServiceFamily::FreshObject> GuiFamily::freshObjects() const {
  IDataStore* store = &store_;
  return {
      {IZelImage::interfaceName, [] { return static_cast<IZelUnknown*>(new HostImage); }},
      {IZelToggleWidget::interfaceName,
       [store] { return static_cast<IZelUnknown*>(new HostToggleWidget(*store)); }},
      {IZelFloatWidget::interfaceName,
       [store] { return static_cast<IZelUnknown*>(new HostFloatWidget(*store)); }},
  };
}
