#include "host/gui/gui_family.h"

#include "host/api/host_class_ids.h"

GuiFamily::GuiFamily()
    : dialog_(new HostGuiDialog),
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

std::vector<ServiceFamily::HostClass> GuiFamily::hostClasses() const {
  return {hostClassOf<HostImage>(kHostImageClassId, {IZelImage::interfaceName})};
}
