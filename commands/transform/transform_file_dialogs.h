#pragma once

// Loading a transform from a file and saving one to a ".tfm" file, with the host's open and save dialogs, as
// the manage-transform command offers them. Loading offers the host's ".tfm" files and every format a reader
// listed in the host registry knows (kTransformationFileReadersPath); saving writes ".tfm" through the host.
// The folder last used, and the open dialog's filter last chosen, are remembered for the next dialog of the
// same object. Main thread only.

#include <cstdint>
#include <optional>

#include "basic_types/zel_string.h"
#include "host_api/file_services.h"

class TransformFileDialogs {
 public:
  // Fills matrix (16 doubles, row-major, metres) from a file the user chooses. False when the host has no
  // file dialog or transform service, the user cancels, or the file cannot be read; the last is reported with
  // the file's name and, for a file that is there, why (see loadTfmFile), and matrix may then be partly
  // written.
  bool loadTransformFile(double* matrix);
  // Writes matrix to a ".tfm" file the user chooses, asking again while the host refuses the path. A file
  // that is not written is reported.
  void saveTransformFile(const double* matrix);

  int32_t lastFilterIndex() const { return lastFilterIndex_; }
  const ZelString& lastDirectory() const { return lastDirectory_; }
  // The file the last load read, as the user chose it; empty before one was chosen.
  const ZelString& lastFile() const { return lastFile_; }

 private:
  int32_t lastFilterIndex_ = -1;
  ZelString lastDirectory_;
  ZelString lastFile_;
};

// Reads the ".tfm" file the user chose (chosen, as the open dialog returned it) through the host's transform
// service into matrix (16 doubles). A file that cannot be read is reported: "Unable to open file '<chosen>'
// for loading." for one that is not there, with the host's reason after a colon for one that is ("...: row 3
// is missing.").
bool loadTfmFile(ITransformUtil& transforms, const ZelString& chosen, double* matrix);

// A ".tfm" path the user chose: normalised for the module's own use, and as the user wrote it (the same
// file, in the user's separators) for what the user is told.
struct TransformSavePath {
  ZelString path;
  ZelString shown;
};

// The ".tfm" path the user chooses in the save dialog, with the extension "tfm", once the host accepts it;
// nothing when the user cancels. The dialog starts in *rememberedDirectory, which then becomes the chosen
// folder; without it, in the host's choice of folder.
std::optional<TransformSavePath> askTransformSavePath(IGuiUtil& dialogs, ZelString* rememberedDirectory);
// Saves matrix at the path through the host's transform service, reporting a file that is not written.
void writeTransformFile(const TransformSavePath& path, const double* matrix);
