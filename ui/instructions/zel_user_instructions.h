#pragma once

// What the operator is told to do next: a brief text (one line, for the information tile), a full text (the
// detailed step) and the step pictures. The creator fills it through the mutable side once; everyone else
// only reads it. Main thread only.

#include <cstdint>

#include "basic_types/zel_string.h"
#include "host_api/zel_image.h"
#include "host_api/zel_unknown.h"

class IZelUserInstructions : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelUserInstructions";

  // Fills out and returns it: with withFull and a full text, the translated "1. %1\n2. %2" of the brief and
  // the full text; otherwise the brief text alone.
  virtual ZelString& text(ZelString& out, bool withFull) = 0;
  virtual int32_t imageCount() = 0;
  // Picture i (from 0), without a reference for the caller; null outside 0 .. imageCount() - 1.
  virtual IZelImage* image(int32_t i) = 0;
};

class IZelMutableUserInstructions : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelMutableUserInstructions";

  virtual void setBrief(const ZelString& text) = 0;
  virtual void setFull(const ZelString& text) = 0;
  // Appends the picture, holding a reference on it; a null picture takes a place of its own.
  virtual void addImage(IZelImage* image) = 0;
};
