#include "host/gui/gui_family.h"

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
  return {
      {IZelImage::interfaceName, [] { return static_cast<IZelUnknown*>(new HostImage); }},
      {IZelXAMLImageRenderer::interfaceName,
       [&store = store_] { return static_cast<IZelUnknown*>(new HostXamlImageRenderer(store)); }},
  };
}
