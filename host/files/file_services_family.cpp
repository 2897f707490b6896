#include "host/files/file_services_family.h"

FileServicesFamily::FileServicesFamily()
    : dialogs_(new ScriptedFileDialogs),
      transforms_(new TfmTransformUtil),
      fileTypes_(new QueuedFileTypeService) {}

std::vector<ServiceFamily::SharedService> FileServicesFamily::sharedServices() const {
  return {
      {IGuiUtil::interfaceName, dialogs_.get()},
      {ITransformUtil::interfaceName, transforms_.get()},
      {ITransformLoadReason::interfaceName, transforms_.get()},
      {IFileTypeService::interfaceName, fileTypes_.get()},
  };
}
