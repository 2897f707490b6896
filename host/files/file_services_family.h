#pragma once

// The host's file services: the open and save dialogs, its transform files and the check of a save path.

#include "framework/object/iptr.h"
#include "host/core/service_family.h"
#include "host/files/queued_file_type_service.h"
#include "host/files/scripted_file_dialogs.h"
#include "host/files/tfm_transform_util.h"

class FileServicesFamily : public ServiceFamily {
 public:
  FileServicesFamily();

  ScriptedFileDialogs& dialogs() { return *dialogs_; }
  TfmTransformUtil& transforms() { return *transforms_; }
  QueuedFileTypeService& fileTypes() { return *fileTypes_; }

  std::vector<SharedService> sharedServices() const override;

 private:
  IPtr<ScriptedFileDialogs> dialogs_;
  IPtr<TfmTransformUtil> transforms_;
  IPtr<QueuedFileTypeService> fileTypes_;
};
