#pragma once

// The reader of XAL transform files: three rows of the rotation, each a group of values "I", "J" and "K",
// then the translation in millimetres as values "X", "Y" and "Z", and an optional "scale" applied to the
// translation only. The values are text between a tag's ">" and the next "<", read in single precision.
// The rotation is taken as it is written: the file is trusted to hold a rigid one. XML comments, processing
// instructions and the declaration of the document type (its internal subset included) are not read, and a
// CDATA section reads as its text.
//
// Created by the host per request; stateless, so any thread may use it.

#include <cstddef>

#include "commands/transform/izel_transformation_file_reader.h"
#include "framework/object/zel_unknown_impl.h"

class XALReader : public IZelTransformationFileReader, public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "XALReader";

  // tr("XAL Transform File"), translated on the first call.
  const ZelString& description() override;
  // The one extension xal.
  const ZelString& extensions() override;
  // False for a file that cannot be opened or read, is empty, lacks a value or holds one that is no finite
  // single-precision number, or a value or scale with more than blanks after its number (a decimal comma,
  // a unit). The text ends at its first zero byte; nothing past it is read.
  bool read(const ZelString& path, double* matrix) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};

// The reading itself, on a file's text (up to its first zero byte): false, leaving matrix alone, when the
// text holds no complete transform.
bool readXalText(const char* text, size_t size, double* matrix);
