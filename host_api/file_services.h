#pragma once

// The host's file services: its open and save dialogs, its own transform files (".tfm") and its check of a
// path a file is about to be saved under. Paths are in the module's backslash form or as the dialog returned
// them.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_unknown.h"

class IGuiUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IGuiUtil";

  // The open dialog over a filter text ("description (*.a;*.b)" entries joined by ";;"), starting in
  // directory (empty: the host's choice) with the entry filterIndex chosen. On success fileName is the chosen
  // file and filterIndex the entry chosen, counted from 0. False, changing neither, when the user cancels.
  // multiple asks for several files; reserved is null.
  virtual bool openFileDialog(ZelString& fileName, int32_t& filterIndex, const ZelString& directory,
                              const ZelString& filter, bool multiple, IZelUnknown* reserved) = 0;
  // The save dialog, as the open one but with filterIndex only an output, counted from 1.
  virtual bool saveFileDialog(ZelString& fileName, int32_t& filterIndex, const ZelString& directory,
                              const ZelString& filter) = 0;
  virtual bool fileExists(const ZelString& path) = 0;
};

// The host's transform files. Matrices are 16 doubles, row-major, with the translation in metres.
class ITransformUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ITransformUtil";

  // Called with 0 before a load that the user chose in a file dialog.
  virtual void prepareLoad(int32_t mode) = 0;
  // False, leaving matrix unchanged, when the file cannot be read as a transform.
  virtual bool load(const ZelString& path, double* matrix) = 0;
  // False when the file could not be written whole.
  virtual bool save(const ZelString& path, const double* matrix) = 0;
};

// Offered by a host that can say why a transform file does not load; without it the user is told only that
// the file could not be loaded.
class ITransformLoadReason : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "ITransformLoadReason";

  // Why ITransformUtil::load fails for path, as the end of a sentence for the user ("row 3 is missing");
  // empty when there is no file at path, or it loads.
  virtual void explainLoad(const ZelString& path, ZelString& why) = 0;
};

class IFileTypeService : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IFileTypeService";

  // Non-zero when a file may be saved under path; kind, flags and ask are the host's (modules pass 1, 0 and
  // true).
  virtual int32_t acceptSavePath(const ZelString& path, int32_t kind, int32_t flags, bool ask) = 0;
};
